#include "model/deviceoptionword.h"

quint32 deviceOptionWord = 0;
