#pragma once
// The text of the invalid-parameters message: the rejected call written out, for example
//   Invalid params: OrvikPlug-USB.ActionManual("SetDataPort","Bits",0x5,0x1)
#include "plugin/action_param_view.h"

constexpr int kInvalidParamsTextSize = 256;

// Writes at most kInvalidParamsTextSize - 1 characters and the terminating zero. params may be
// null (no parameters); a null text is written as "".
void BuildInvalidParamsText(char (&text)[kInvalidParamsTextSize], const char* pluginName,
                            const ActionParamView* params);
