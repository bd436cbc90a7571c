#include "tests/wine/scenario_checks_win32.h"

#include <gtest/gtest.h>

std::string SimScriptOption(const std::string& script) {
    return "--sim-script=" + script;
}

void UseSimScript(Scenario& scenario, const std::string& script) {
    scenario.files.emplace_back("sim-script.txt", script);
    scenario.options.push_back("--sim-script-file=sim-script.txt");
}

void ExpectBoxes(const HostRun& run, const std::vector<std::string>& texts) {
    std::vector<const ParsedLine*> calls = run.Of("box");
    std::vector<const ParsedLine*> shown = run.Of("dismiss");
    ASSERT_EQ(calls.size(), texts.size()) << run.output;
    ASSERT_EQ(shown.size(), texts.size()) << run.output;
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(calls[i]->Get("text"), texts[i]);
        EXPECT_EQ(calls[i]->Get("caption"), kPluginName);
        EXPECT_EQ(calls[i]->Number("flags"), 16);
        EXPECT_EQ(calls[i]->Number("owner"), 0);
        EXPECT_EQ(calls[i]->Get("on"), "host");
        EXPECT_EQ(shown[i]->Get("text"), texts[i]);
        EXPECT_EQ(shown[i]->Get("caption"), kPluginName);
    }
}

std::vector<const ParsedLine*> LinesBetween(const HostRun& run, const std::string& kind, int after,
                                            int before) {
    int from = after < 0 ? -1 : run.IndexOf(run.Step(after));
    int to = run.IndexOf(run.Step(before));
    std::vector<const ParsedLine*> found;
    for (const ParsedLine* line : run.Of(kind)) {
        int at = run.IndexOf(line);
        if (at > from && at < to)
            found.push_back(line);
    }
    return found;
}

int64_t PluginThreadsAfter(const HostRun& run, int step) {
    return run.Number(run.Step(step), "plugin_threads");
}
