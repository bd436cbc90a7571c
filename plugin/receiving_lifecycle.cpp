#include "plugin/receiving_lifecycle.h"

void StartReceiving(ReceivingSteps& steps, bool& running, bool stopping) {
    if (running || stopping)
        return;
    if (!steps.StartSampling())
        return;
    if (!steps.CreateKeySignal()) {
        steps.StopSampling();
        return;
    }
    if (!steps.StartDispatcher()) {
        steps.StopSampling();
        steps.CloseKeySignal();
        return;
    }
    running = true;
}

void StopReceiving(ReceivingSteps& steps, bool& running, bool& stopping) {
    if (!running || stopping)
        return;
    stopping = true;
    steps.StopDispatcher();
    steps.StopSampling();
    // Closed only now: the sampling thread signals it until it has ended.
    steps.CloseKeySignal();
    running = false;
    stopping = false;
}
