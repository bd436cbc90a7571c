#pragma once
// Reads the settings file and the remote definition files beside the module into Settings and
// the key table. Runs only while the worker threads are stopped.
void ReloadConfiguration();
