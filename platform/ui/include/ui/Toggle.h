#pragma once

#include "ui/Binding.h"
#include "ui/Text.h"
#include "ui/ToggleStyle.h"
#include "ui/View.h"

#include <string>

namespace ui {

// A control that turns a Boolean on and off through its binding, drawn by the environment's
// toggle style. A disabled toggle does not change; inside a menu it is a checked entry.
class Toggle : public View {
public:
    Toggle(Text title, Binding<bool> isOn);
    Toggle(const char* title, Binding<bool> isOn)
        : Toggle(Text(title), std::move(isOn)) {}
    // A Label of the title and the system image.
    Toggle(Text title, std::string systemImage, Binding<bool> isOn);
    Toggle(Binding<bool> isOn, View label);
};

namespace detail {
struct ToggleModel {
    View label;
    Binding<bool> isOn;
};
const ToggleModel* toggleModel(const View& view);
} // namespace detail

} // namespace ui
