#pragma once

class PlatformServices;

// Start-up: refuses to run beside another copy of the launcher, otherwise loads and shows the main
// window and runs the event loop until the last window is unloaded. Returns the exit code.
int Main(PlatformServices &services);
