#include "model/comrequest.h"
