#pragma once

// Where start-up time goes: with VEXOREL_TRACE_STARTUP set, each mark prints the
// milliseconds since main() began to standard error. Without it a mark costs a test of one
// flag. The time before main() (loading the libraries) is what the start-up probe measures
// beyond the last mark.
void startupMark(const char* phase);

// With VEXOREL_TRACE_STARTUP=quit the program ends once its first events are handled, so a
// profiler can count what start-up costs.
bool quitAfterStartup();
