#include "frontpanel/headphonepositioninputs.h"

std::array<int, 8> headphonePositionInputs = kDefaultHeadphonePositionInputs;
