#include "register/RegisterLog.h"

Q_LOGGING_CATEGORY(lcRegister, "tolm.register")
