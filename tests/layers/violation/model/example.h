#pragma once
#include "widgets/example.h"
