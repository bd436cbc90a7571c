#pragma once
// Builds the parameter view of a manual action from a list of texts and numbers.
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "plugin/action_param_view.h"

struct Param {
    Param(const char* text) : slot{false, 0, text} {}
    Param(uint32_t number) : slot{true, number, nullptr} {}
    Param(int number) : slot{true, static_cast<uint32_t>(number), nullptr} {}
    ActionParamSlot slot;
};

// count defaults to the number of parameters given.
inline ActionParamView Params(std::initializer_list<Param> params,
                              std::optional<int32_t> count = std::nullopt) {
    ActionParamView view;
    view.count = count.value_or(static_cast<int32_t>(params.size()));
    int i = 0;
    for (const Param& p : params) {
        if (i < kActionParamSlots)
            view.slots[i++] = p.slot;
    }
    return view;
}
