#include "receiver/data_port.h"

Lock DataPortLock;
