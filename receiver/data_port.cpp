#include "receiver/data_port.h"

std::mutex DataPortLock;
