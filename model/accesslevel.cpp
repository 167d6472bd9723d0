#include "model/accesslevel.h"

AccessLevel accessLevel = AccessLevel::Operator;
