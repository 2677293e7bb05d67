#pragma once

#include <chrono>
#include <functional>

// Plays the GUI thread's event loop: serves hand-overs until `done` holds or time runs out.
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(5));
// Serves hand-overs for a while, for checking that nothing (more) arrives.
void pumpFor(std::chrono::milliseconds time);
