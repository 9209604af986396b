#pragma once

#include "ui/View.h"

// A goal list beside a form for the selected goal, with a toolbar: the controls a real
// window combines, for capturing on a screen.
ui::View sampleWindow();
