#pragma once
#include "model/example.h"
