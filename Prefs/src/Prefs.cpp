// Placeholder until the store's own sources land.
namespace Prefs {}
