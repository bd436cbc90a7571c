#pragma once
// Where the build put the programs under test, as Windows paths.
#include <string>

struct TestPaths {
    std::string testHost;
    std::string plugin;
    std::string simulatorDir;  // the full OrvikUSB.dll
    std::string fourExportDir; // the one without DoGetOutDataPort
};

const TestPaths& Paths();
// A path of the build tree (a Unix path under Wine) as a Windows path.
std::string WindowsPath(const std::string& unixPath);
