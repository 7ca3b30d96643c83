#include "midi/sound_tables.h"

namespace harmik {

// Notes 38 and 42 sound a little sharp (149 and 189 Hz); that is how the speaker has always
// played them.
const std::array<int, 60> SpeakerFrequency = {
    65,  69,  73,  78,   82,   87,   92,   98,   104,  110,  116,  123,  131,  138,  149,
    155, 165, 174, 189,  196,  207,  220,  233,  247,  261,  277,  293,  311,  329,  349,
    370, 392, 415, 440,  466,  494,  523,  554,  587,  622,  659,  698,  740,  784,  830,
    880, 932, 988, 1046, 1109, 1174, 1244, 1318, 1397, 1480, 1568, 1661, 1760, 1864, 1975,
};

int SpeakerFrequencyOf(int note) {
    if (note < kSpeakerLowestNote || note > kSpeakerHighestNote)
        return 0;
    return SpeakerFrequency[std::size_t(note - kSpeakerLowestNote)];
}

const std::array<std::string_view, 128> InstrumentNames = {
    "Piano 1",        "Piano 2",      "Piano 3",       "Honky-tonk",    "E. Piano 1",
    "E. Piano 2",     "Harpsichord",  "Clavinet",      "Celesta",       "Glockenspiel",
    "MusicBox",       "Vibraphone",   "Marimba",       "Xylophone",     "Tubular-bell",
    "Santur",         "Organ1",       "Organ2",        "Organ3",        "ChurchOrgan",
    "ReedOrgan",      "AccordionFr.", "Harmonica",     "Bandneon",      "Nylonstr. Gt.",
    "Steelstr. Gt.",  "Jazz Gt.",     "Clean Gt.",     "Muted Gt.",     "Overdrive Gt.",
    "Distortion Gt.", "Gt.Harmonics", "Accustic Bs.",  "Fingered Bs.",  "Picked Bs.",
    "Fretless Bs.",   "Slap Bass 1",  "Slap Bass 2",   "Synth Bass 1",  "Synth Bass 2",
    "Violin",         "Viola",        "Cello",         "Contrabass",    "Tremolo Str.",
    "Pizzicato Str.", "Harp",         "Timpani",       "Strings",       "SlowStrings",
    "Syn.Stringsl",   "Syn.Strings2", "ChoirAahs",     "VoiceOohs",     "Syn. Vox",
    "Orchestra Hit",  "Trumpet",      "Trombone",      "Tuba",          "Muted Trumpet",
    "French Horn",    "Brass 1",      "Synth Brass 1", "Synth Brass 2", "Soprano sax",
    "Alto sax",       "Tenorsax",     "Baritonesax",   "Oboe",          "EnglishHorn",
    "Bassoon",        "Clarinet",     "Piccolo",       "Flute",         "Reccrder",
    "Pan Flute",      "Bottle Blow",  "Shakuhachi",    "Whistle",       "Ocarina",
    "Square Wave",    "Saw Wave",     "Syn. Calliope", "Chiffer Lead",  "Charang",
    "Solo Vox",       "5th Saw Wave", "Bass & Lead",   "Fantasia",      "Warm Pad",
    "Polysynth",      "Space Voice",  "Bowed Glass",   "Mental Pad",    "Halo Pad",
    "Sweep Pad",      "IceRain",      "Soundtrack",    "Crystal",       "Atmosphere",
    "Brightness",     "Goblin",       "EchoDrops",     "StarTheme",     "Sitar",
    "Banjo",          "Shamisen",     "Koto",          "Kalimba",       "BagPipe",
    "Fiddle",         "Shannai",      "TinkIeBell",    "Agogo",         "Steel Drums",
    "Woodblock",      "Taiko",        "Melodic Tom",   "Synth Drum",    "Reverse Cymbal",
    "Gt.FretNoise",   "BreathNoise",  "Seashore",      "Bird",          "Telephone 1",
    "Helicopter",     "Applause",     "Gun Shot",
};

const std::array<std::string_view, 16> InstrumentFamilies = {
    "Piano",         "Chromatic Perc", "Organ",      "Guitar",        "Bass",       "Strings",
    "Ensemble",      "Brass",          "Reed",       "Pipe",          "Synth Lead", "Synth Pad",
    "Synth Effects", "Ethnic",         "Percussive", "Sound Effects",
};

const std::array<std::string_view, 62> DrumSoundNames = {
    "High Q",
    "Slap",
    "Scratch Push",
    "Scratch Pull",
    "Sticks",
    "Square Click",
    "Metronome Click",
    "Metronome Bell",
    "Acoustic Bass Drum",
    "Bass Drum 1",
    "Side Stick",
    "Acoustic Snare",
    "Hand Clap",
    "Electric Snare",
    "Low Floor Tom",
    "Closed Hi Hat",
    "Hi Floor Tom",
    "Pedal Hi Hat",
    "Low Tom",
    "Open Hi Hat",
    "Low-Mid Tom",
    "High-Mid Tom",
    "Crash Cymbal 1",
    "High Tom",
    "Ride Cymbal 1",
    "Chinese Cymbal",
    "Ride Bell",
    "Tambourine",
    "Splash Cymbal",
    "Cowbell",
    "Crash Cymbal 2",
    "Vibraslap",
    "Ride Cymbal 2",
    "High Bongo",
    "Low Bongo",
    "Muted High Conga",
    "Open High Conga",
    "Low Conga",
    "High Timbale",
    "Low Timbale",
    "High Agogo",
    "Low Agogo",
    "Cabase",
    "Maracas",
    "Short Whistle",
    "Long Whistle",
    "Short Guiro",
    "Long Guiro",
    "Claves",
    "High Wood Block",
    "Low Wood Block",
    "Muted Cuica",
    "Open Cuica",
    "Muted Triangle",
    "Open Triangle",
    "Shaker",
    "Jingle Bell",
    "----",
    "Castanets",
    "Mute Surdo",
    "Open Surdo",
    "----",
};

std::string_view DrumSoundName(int note) {
    if (note < kFirstDrumNote || note > kLastDrumNote)
        return {};
    return DrumSoundNames[std::size_t(note - kFirstDrumNote)];
}

} // namespace harmik
