// Lets a test reach the state handles its views made.
#pragma once

#include "ui/State.h"

#include <map>
#include <memory>
#include <string>

namespace uitest {

template <class T> struct Handles {
    std::map<std::string, ui::State<T>> byName;

    void keep(const std::string& name, const ui::State<T>& state) { byName.insert_or_assign(name, state); }
    const ui::State<T>& operator[](const std::string& name) const { return byName.at(name); }
};

template <class T> using HandlesPtr = std::shared_ptr<Handles<T>>;

} // namespace uitest
