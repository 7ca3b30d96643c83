#include "midi/fluid_library.h"

#include <dlfcn.h>
#include <fluidsynth.h>
#include <mutex>

// The library's name as the system's loader knows it: FluidSynth 2 is libfluidsynth.so.3.
static_assert(FLUIDSYNTH_VERSION_MAJOR == 2, "FluidSynth 2 is loaded as libfluidsynth.so.3");
constexpr const char* kFluidSynthLibrary = "libfluidsynth.so.3";

// Every FluidSynth function the program uses: name, result, parameters, arguments.
// clang-format off
#define HARMIK_FLUID_FUNCTIONS(X) \
    X(delete_fluid_audio_driver, void, (fluid_audio_driver_t* driver), (driver)) \
    X(delete_fluid_settings, void, (fluid_settings_t* settings), (settings)) \
    X(delete_fluid_synth, void, (fluid_synth_t* synth), (synth)) \
    X(fluid_set_log_function, fluid_log_function_t, (int level, fluid_log_function_t fun, void* data), (level, fun, data)) \
    X(fluid_settings_setint, int, (fluid_settings_t* settings, const char* name, int val), (settings, name, val)) \
    X(fluid_settings_setnum, int, (fluid_settings_t* settings, const char* name, double val), (settings, name, val)) \
    X(fluid_settings_setstr, int, (fluid_settings_t* settings, const char* name, const char* str), (settings, name, str)) \
    X(fluid_sfloader_set_callbacks, int, (fluid_sfloader_t* loader, fluid_sfloader_callback_open_t open, fluid_sfloader_callback_read_t read, fluid_sfloader_callback_seek_t seek, fluid_sfloader_callback_tell_t tell, fluid_sfloader_callback_close_t close), (loader, open, read, seek, tell, close)) \
    X(fluid_sfont_get_id, int, (fluid_sfont_t* sfont), (sfont)) \
    X(fluid_synth_add_sfloader, void, (fluid_synth_t* synth, fluid_sfloader_t* loader), (synth, loader)) \
    X(fluid_synth_add_sfont, int, (fluid_synth_t* synth, fluid_sfont_t* sfont), (synth, sfont)) \
    X(fluid_synth_all_sounds_off, int, (fluid_synth_t* synth, int chan), (synth, chan)) \
    X(fluid_synth_cc, int, (fluid_synth_t* synth, int chan, int ctrl, int val), (synth, chan, ctrl, val)) \
    X(fluid_synth_channel_pressure, int, (fluid_synth_t* synth, int chan, int val), (synth, chan, val)) \
    X(fluid_synth_get_active_voice_count, int, (fluid_synth_t* synth), (synth)) \
    X(fluid_synth_get_cc, int, (fluid_synth_t* synth, int chan, int ctrl, int* pval), (synth, chan, ctrl, pval)) \
    X(fluid_synth_get_channel_preset, fluid_preset_t*, (fluid_synth_t* synth, int chan), (synth, chan)) \
    X(fluid_synth_get_gain, float, (fluid_synth_t* synth), (synth)) \
    X(fluid_synth_get_program, int, (fluid_synth_t* synth, int chan, int* sfont_id, int* bank_num, int* preset_num), (synth, chan, sfont_id, bank_num, preset_num)) \
    X(fluid_synth_get_settings, fluid_settings_t*, (fluid_synth_t* synth), (synth)) \
    X(fluid_synth_get_sfont, fluid_sfont_t*, (fluid_synth_t* synth, unsigned int num), (synth, num)) \
    X(fluid_synth_key_pressure, int, (fluid_synth_t* synth, int chan, int key, int val), (synth, chan, key, val)) \
    X(fluid_synth_noteoff, int, (fluid_synth_t* synth, int chan, int key), (synth, chan, key)) \
    X(fluid_synth_noteon, int, (fluid_synth_t* synth, int chan, int key, int vel), (synth, chan, key, vel)) \
    X(fluid_synth_pitch_bend, int, (fluid_synth_t* synth, int chan, int val), (synth, chan, val)) \
    X(fluid_synth_process, int, (fluid_synth_t* synth, int len, int nfx, float* fx[], int nout, float* out[]), (synth, len, nfx, fx, nout, out)) \
    X(fluid_synth_program_change, int, (fluid_synth_t* synth, int chan, int program), (synth, chan, program)) \
    X(fluid_synth_program_select, int, (fluid_synth_t* synth, int chan, int sfont_id, int bank_num, int preset_num), (synth, chan, sfont_id, bank_num, preset_num)) \
    X(fluid_synth_remove_sfont, int, (fluid_synth_t* synth, fluid_sfont_t* sfont), (synth, sfont)) \
    X(fluid_synth_set_gain, void, (fluid_synth_t* synth, float gain), (synth, gain)) \
    X(fluid_synth_sfload, int, (fluid_synth_t* synth, const char* filename, int reset_presets), (synth, filename, reset_presets)) \
    X(fluid_synth_sfunload, int, (fluid_synth_t* synth, int id, int reset_presets), (synth, id, reset_presets)) \
    X(fluid_synth_sysex, int, (fluid_synth_t* synth, const char* data, int len, char* response, int* response_len, int* handled, int dryrun), (synth, data, len, response, response_len, handled, dryrun)) \
    X(new_fluid_audio_driver2, fluid_audio_driver_t*, (fluid_settings_t* settings, fluid_audio_func_t func, void* data), (settings, func, data)) \
    X(new_fluid_defsfloader, fluid_sfloader_t*, (fluid_settings_t* settings), (settings)) \
    X(new_fluid_settings, fluid_settings_t*, (), ()) \
    X(new_fluid_synth, fluid_synth_t*, (fluid_settings_t* settings), (settings))
// clang-format on

namespace harmik {

namespace {

struct FluidFunctions {
#define HARMIK_FLUID_POINTER(name, result, parameters, arguments) decltype(&::name) name = nullptr;
    HARMIK_FLUID_FUNCTIONS(HARMIK_FLUID_POINTER)
#undef HARMIK_FLUID_POINTER
};

// Written once, before LoadFluidSynth first returns true; read-only afterwards.
FluidFunctions Fluid;
bool FluidLoaded = false;

} // namespace

bool LoadFluidSynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Bound at once, so that no first call (on the audio thread, say) has to look up a
        // symbol; local, so that nothing else in the program binds to it by chance.
        void* library = dlopen(kFluidSynthLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return;
        bool all = true;
#define HARMIK_FLUID_RESOLVE(name, result, parameters, arguments)                                  \
    Fluid.name = reinterpret_cast<decltype(Fluid.name)>(dlsym(library, #name));                    \
    all = all && Fluid.name != nullptr;
        HARMIK_FLUID_FUNCTIONS(HARMIK_FLUID_RESOLVE)
#undef HARMIK_FLUID_RESOLVE
        FluidLoaded = all;
    });
    return FluidLoaded;
}

} // namespace harmik

extern "C" {
#define HARMIK_FLUID_FORWARD(name, result, parameters, arguments)                                  \
    result name parameters {                                                                       \
        return harmik::Fluid.name arguments;                                                       \
    }
HARMIK_FLUID_FUNCTIONS(HARMIK_FLUID_FORWARD)
#undef HARMIK_FLUID_FORWARD
}
