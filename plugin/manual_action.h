#pragma once
// The host's manual actions on the receiver's data port: "Get"/"Set" + "DataPort" with the
// selectors "Data" (output byte) and "Direction" (direction byte), optionally one line; "Get"/"Set"
// + "232" with "Data" or "Bitrate", accepted without device access. The Win32 export turns the
// outcome into message 1030 (or 1029 when invalid) followed by a posted 1026.
#include <cstdint>

#include "plugin/action_param_view.h"
#include "plugin/host_records.h"
#include "plugin/invalid_params_text.h"
#include "receiver/data_port.h"

struct ManualActionOutcome {
    bool valid = false;
    uint8_t outputByte = 0;                      // read after the action; 0 when not read or the read failed
    uint8_t directionByte = 0;                   // likewise
    uint32_t result = 0;                         // lParam of message 1026; 0 when invalid
    char errorText[kInvalidParamsTextSize] = {}; // the text of message 1029 when not valid
};

// Carries out the action on port (null: no driver bound, nothing is read or written). params may be
// null, which is invalid.
ManualActionOutcome PerformManualAction(const ActionParamView* params, DataPort* port,
                                        const char* pluginName);

// The reply record of message 1030: count 2, two numbers, the output and the direction byte.
ActionParams ManualActionReply(const ManualActionOutcome& outcome);
