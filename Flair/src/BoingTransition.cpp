#include "Flair/BoingTransition.h"

#include "Flair/Boing.h"
#include "Flair/Scaled.h"

#include "TransitionSupport.h"

namespace Flair::AnyTransition::Ostravelle {

ui::AnyTransition boing() {
    return boing(ui::Edge::top);
}

ui::AnyTransition boing(ui::Edge edge) {
    return ui::AnyTransition::modifier(Scaled<Boing>{Boing{edge, 0}}, Scaled<Boing>{Boing{edge, 1}});
}

} // namespace Flair::AnyTransition::Ostravelle
