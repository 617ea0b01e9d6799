#pragma once
// Diagnostics of the aircraft register, its pages and its dialogs.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcRegister)
