#include "tools/test_host/sim_link_win32.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "tools/receiver_simulator/sim_control.h"
#include "tools/receiver_simulator/sim_script.h"
#include "tools/test_host/host_output_win32.h"

namespace {

// The log position printed last, and the load it belongs to (counted by attaches).
int32_t g_logPrinted = 0;
int64_t g_logLoad = -1;

HMODULE Simulator() {
    return GetModuleHandleA("OrvikUSB.dll");
}

template <typename Fn> Fn Export(const char* name) {
    HMODULE sim = Simulator();
    return sim != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(sim, name)))
                          : nullptr;
}

int64_t EnvironmentCount(const char* name) {
    char text[32] = "";
    GetEnvironmentVariableA(name, text, static_cast<DWORD>(std::size(text)));
    return std::strtoll(text, nullptr, 10);
}

const char* LogKind(int32_t kind) {
    switch (kind) {
    case kSimLogOutputWrite:
        return "out";
    case kSimLogDirectionWrite:
        return "dir";
    case kSimLogHandOver:
        return "handover";
    default:
        return "unknown";
    }
}

} // namespace

bool PrepareSimScript(const std::string* text, const std::string* file, std::string* error) {
    std::string script;
    if (file != nullptr) {
        std::ifstream in(*file, std::ios::binary);
        if (!in) {
            *error = "cannot read " + *file;
            return false;
        }
        std::ostringstream all;
        all << in.rdbuf();
        script = all.str();
        SetEnvironmentVariableA(kSimScriptFileVar, file->c_str());
    } else if (text != nullptr) {
        script = *text;
        SetEnvironmentVariableA(kSimScriptVar, text->c_str());
    }
    SimScript parsed;
    return ParseSimScript(script, &parsed, error);
}

void EmitSimState() {
    EventLine line = NewEvent("sim");
    auto getState = Export<void(WINAPI*)(SimState*)>("SimGetState");
    line.Int("loaded", Simulator() != nullptr ? 1 : 0)
        .Int("attaches", EnvironmentCount(kSimAttachesVar))
        .Int("detaches", EnvironmentCount(kSimDetachesVar));
    if (getState != nullptr) {
        SimState s{};
        getState(&s);
        line.Int("infra_calls", s.calls[kSimGetInfraCode])
            .Int("setdir_calls", s.calls[kSimSetDirection])
            .Int("getdir_calls", s.calls[kSimGetDirection])
            .Int("setout_calls", s.calls[kSimSetOutput])
            .Int("getout_calls", s.calls[kSimGetOutput])
            .Hex("out", static_cast<uint32_t>(s.output))
            .Hex("dir", static_cast<uint32_t>(s.direction))
            .Int("out_status", s.outputGetterStatus)
            .Int("dir_status", s.directionGetterStatus)
            .Int("thread_attaches", s.threadAttaches)
            .Int("thread_detaches", s.threadDetaches)
            .Int("infra_threads", s.infraThreads)
            .Int("handed", s.batchesHandedOver)
            .Int("dropped", s.batchesDropped)
            .Int("finished", s.scriptFinished)
            .Text("script_error", s.scriptError);
    }
    Emit(line);
}

void EmitSimLog() {
    auto copyLog = Export<int32_t(WINAPI*)(SimLogEntry*, int32_t, int32_t*)>("SimCopyLog");
    if (copyLog == nullptr) {
        Emit(NewEvent("simlog").Word("loaded", "0"));
        return;
    }
    int64_t load = EnvironmentCount(kSimAttachesVar);
    if (load != g_logLoad) {
        g_logLoad = load;
        g_logPrinted = 0;
    }
    std::vector<SimLogEntry> entries(kSimLogCapacity);
    int32_t firstIndex = 0;
    int32_t copied = copyLog(entries.data(), static_cast<int32_t>(entries.size()), &firstIndex);
    for (int32_t i = 0; i < copied; ++i) {
        if (firstIndex + i < g_logPrinted)
            continue;
        const SimLogEntry& e = entries[static_cast<size_t>(i)];
        EventLine line = NewEventAt("simlog", e.qpc);
        line.Int("index", firstIndex + i).Word("kind", LogKind(e.kind)).Int("value", e.value);
        if (e.kind == kSimLogHandOver)
            line.Int("status", e.status).Int("count", e.count);
        Emit(line.Word("on", ThreadRole(e.thread)));
    }
    g_logPrinted = firstIndex + copied;
}

bool SetSimPort(int64_t output, int64_t direction) {
    auto setPort = Export<void(WINAPI*)(int32_t, int32_t)>("SimSetPort");
    if (setPort != nullptr)
        setPort(static_cast<int32_t>(output), static_cast<int32_t>(direction));
    return setPort != nullptr;
}

bool SetSimGetterStatus(int64_t outputStatus, int64_t directionStatus) {
    auto setStatus = Export<void(WINAPI*)(int32_t, int32_t)>("SimSetGetterStatus");
    if (setStatus != nullptr)
        setStatus(static_cast<int32_t>(outputStatus), static_cast<int32_t>(directionStatus));
    return setStatus != nullptr;
}

bool SetSimScript(const std::string& text, std::string* error) {
    auto setScript = Export<int32_t(WINAPI*)(const char*, char*, int32_t)>("SimSetScript");
    if (setScript == nullptr) {
        *error = "simulator not loaded";
        return false;
    }
    char why[256] = "";
    bool ok = setScript(text.c_str(), why, static_cast<int32_t>(std::size(why))) == 0;
    *error = why;
    return ok;
}
