#pragma once

// The library's transitions and what they take.
namespace Flair::AnyTransition::Ostravelle {

// The side a skidding view comes in from.
enum class SkidDirection { leading, trailing };

} // namespace Flair::AnyTransition::Ostravelle
