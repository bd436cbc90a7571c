#pragma once
// One test's host: a fresh folder with a copy of OrvikPlug.dll and the files a test puts beside
// it, the plug-in loaded into this process with the receiver simulator as its driver, and a host
// window on this (the main) thread. Setup runs here while a driver thread works the dialog.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class DialogDriver;

struct HostKeyEvent {
    std::string keyName;
    std::string remoteName;
    int32_t lParam;
};

class GuiSession {
  public:
    // files: (name, content) beside the plug-in; simScript: the simulator's script (empty: idle).
    GuiSession(const std::vector<std::pair<std::string, std::string>>& files, const std::string& simScript,
               bool withDriver = true);
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    bool Loaded() const { return plugin_ != nullptr; }
    void Start();
    void Stop();
    // Close as the host calls it before unloading; the session ends with another Close.
    void Close();
    // Calls Setup on this thread; drive runs on another thread with the dialog found, and the
    // dialog is closed through its system menu when drive returns. False when no dialog came.
    bool RunSetup(const std::function<void(DialogDriver&)>& drive);
    // Pumps this thread's messages for ms milliseconds (key events reach the host window).
    void Pump(unsigned ms);

    const std::string& Folder() const { return folder_; }
    std::string ReadFile(const std::string& name) const;
    bool WriteFile(const std::string& name, const std::string& content) const;
    HWND HostWindow() const { return host_; }
    const std::vector<HostKeyEvent>& KeyEvents() const { return keyEvents_; }
    // Replaces the simulator's script, as a remote that starts sending now; false when refused.
    bool SetSimScript(const std::string& script) const;
    // Calls of DoGetInfraCode the simulator has answered since it was loaded; -1 without it.
    int32_t SimulatorPolls() const;
    // Asks this thread, through the host window, to call Setup again (from inside the dialog).
    void PostNestedSetup() const;
    // Asks this thread to destroy the host window, as a host that quits with the dialog open.
    void PostDestroyHost() const;
    // Message boxes the plug-in showed, by text (UTF-8) and owner, answered at once, or, while
    // held, left open (to be looked at) until they are no longer held.
    void HoldBoxes(bool hold) { holdBoxes_ = hold; }
    std::vector<std::string> Boxes() const;
    std::vector<HWND> BoxOwners() const;

  private:
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::string folder_;
    HMODULE plugin_ = nullptr;
    HWND host_ = nullptr;
    std::vector<HostKeyEvent> keyEvents_;
    static DWORD WINAPI AnswerBoxes(void* param);
    HANDLE boxAnswerer_ = nullptr;
    HANDLE stopAnswering_ = nullptr;
    std::atomic<bool> holdBoxes_{false};
    mutable CRITICAL_SECTION boxLock_;
    std::vector<std::string> boxes_;
    std::vector<HWND> boxOwners_;
    void(__stdcall* start_)() = nullptr;
    void(__stdcall* stop_)() = nullptr;
    void(__stdcall* setup_)() = nullptr;
    void(__stdcall* close_)() = nullptr;
};
