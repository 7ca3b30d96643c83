#pragma once
// FluidSynth is loaded when the program first makes a synthesizer, not with the program: its
// library and the two dozen it brings along (SDL, JACK, libinstpatch and glib, PulseAudio)
// take some 10 ms to load and link, which the start-up spends on its warm-up thread while the
// window comes up. The program calls FluidSynth's functions as its headers declare them;
// fluid_library.cpp defines each one, passing the call on to the loaded library.
namespace harmik {

// Loads the library once; any thread, later calls wait for the first. False when it cannot
// be loaded (then no FluidSynth function may be called).
bool LoadFluidSynth();

} // namespace harmik
