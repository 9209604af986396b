// Placeholder until the publishers land.
namespace reactive {}
