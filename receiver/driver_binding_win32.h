#pragma once
// Binding to the receiver's driver library, loaded at run time by its bare file name.
#include <windows.h>

#include <cstdint>

#include "receiver/data_port.h"

using DoGetInfraCodeFn = int32_t(__stdcall*)(uint8_t* buffer, int32_t zero, int32_t* count);
using DoSetDataPortDirectionFn = int32_t(__stdcall*)(int32_t direction);
using DoGetDataPortDirectionFn = int32_t(__stdcall*)(uint8_t* direction);
using DoSetOutDataPortFn = int32_t(__stdcall*)(int32_t output);
using DoGetOutDataPortFn = int32_t(__stdcall*)(uint8_t* output);

// Null while no driver is bound; the five entry points are set together or all null.
extern HMODULE DriverModule;
extern DoGetInfraCodeFn DoGetInfraCode;
extern DoSetDataPortDirectionFn DoSetDataPortDirection;
extern DoGetDataPortDirectionFn DoGetDataPortDirection;
extern DoSetOutDataPortFn DoSetOutDataPort;
extern DoGetOutDataPortFn DoGetOutDataPort;

// Creates RemoteNames, then loads the driver unless one is bound; failures show a message box.
void LoadDriver();
// Frees RemoteNames and unloads the driver.
void UnloadDriver();

// The data port through the bound driver. Only valid while DriverModule is set.
class DriverDataPort final : public DataPort {
  public:
    int32_t GetOutput(uint8_t* value) override { return DoGetOutDataPort(value); }
    int32_t GetDirection(uint8_t* value) override { return DoGetDataPortDirection(value); }
    void SetOutput(uint8_t value) override { DoSetOutDataPort(value); }
    void SetDirection(uint8_t value) override { DoSetDataPortDirection(value); }
};
