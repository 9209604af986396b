#pragma once

namespace Flair {

// The motion of the jump change effect: the view's offset from its rest line (below 0 it is
// that far up, above 0 squashed against the line) on the jump spring. Plain arithmetic; the
// effect keeps one per view.
struct JumpSimulation {
    double displacement = 0; // points
    double velocity = 0;     // points per second
    // A jump asked for high up while rising, waiting for the next landing.
    bool jumpBuffered = false;

    // At rest its timeline can pause.
    bool isResting() const { return velocity == 0; }
    // A jump request: less than 10 pt up (or squashed) the view is thrown up at
    // `initialVelocity`, replacing its motion; higher up it is buffered while rising and dropped
    // while falling.
    void launch(double initialVelocity);
    // One frame of `dt` seconds. Jumps higher than 32 pt slow near their peak, to a fifth of
    // real time; a buffered jump launches at the landing; near the line and not rising (a
    // signed test) the view snaps to rest, as it does after a step that left the finite range.
    void step(double dt, double initialVelocity, double targetHeight);

    bool operator==(const JumpSimulation&) const = default;
};

} // namespace Flair
