#include "plugin/receiving_lifecycle.h"

void StartReceiving(ReceivingSteps& steps, bool& running, bool& stopping) {
    if (running || stopping)
        return;
    if (!steps.StartSampling())
        return;
    const bool signalCreated = steps.CreateKeySignal();
    if (signalCreated && steps.StartDispatcher()) {
        running = true;
        return;
    }
    stopping = true;
    steps.StopSampling();
    if (signalCreated)
        steps.CloseKeySignal();
    stopping = false;
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
