#pragma once
// The plug-in's only user-visible error report: no owner window, caption PluginName,
// OK button and the error icon.
void ShowErrorBox(const char* text);
