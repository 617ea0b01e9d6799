#pragma once
// QCustomPlot's header, which uses Qt's keywords that this project switches off; they are on
// only while it is read.
#ifndef signals
#define TOLM_UNDEF_QT_KEYWORDS
#define signals Q_SIGNALS
#define slots Q_SLOTS
#define emit Q_EMIT
#define foreach Q_FOREACH
#endif

#include <qcustomplot.h>

#ifdef TOLM_UNDEF_QT_KEYWORDS
#undef TOLM_UNDEF_QT_KEYWORDS
#undef signals
#undef slots
#undef emit
#undef foreach
#endif
