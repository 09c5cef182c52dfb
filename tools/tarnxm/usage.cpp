#include "tools/tarnxm/usage.h"

// The options that say how a song sounds, for render and play alike.
#define SOUND_OPTIONS                                                                               \
  "sound options:\n"                                                                                \
  "  --rate HZ              mix at HZ, 8000 to 192000 (44100)\n"                                    \
  "  --mono                 one channel instead of two\n"                                           \
  "  --interpolation KIND   none, linear, cubic or sinc (sinc)\n"                                   \
  "  --no-clip              let 16-bit and 24-bit samples wrap instead of clipping\n"               \
  "  --gain DB              the level, -96 to 24 dB (-6: room for loud songs)\n"                    \
  "  --stereo PERCENT       stereo separation, 0 (mono) to 100 (100)\n"                             \
  "  --mute LIST            silence channels, counted from 1: 1,3-5\n"                              \
  "  --solo LIST            hear only these channels\n"                                             \
  "  --subsong N            start at subsong N, from 0 (tarnxm info lists them)\n"                  \
  "  --start TIME           start TIME into the subsong: seconds (83.5) or m:ss[.fff]\n"            \
  "  --loops N              play the song N more times after the first; -1 for ever (0)\n"         \
  "  --end-time TIME        stop at TIME into the subsong\n"

const char* const TarnXMUsage =
    "usage: tarnxm info [--json] FILE      the facts of an XM or MOD module and its subsongs\n"
    "       tarnxm render FILE... (-o OUT | --out-dir DIR | --stems DIR) [options]\n"
    "                                      songs to WAV, FLAC or raw files\n"
    "       tarnxm play FILE... [options]  songs through the sound device\n"
    "       tarnxm COMMAND --help          a command's options\n"
    "       tarnxm --version\n";

const char* const InfoUsage =
    "usage: tarnxm info [--json] FILE\n"
    "The format, title, channels, orders, instruments and samples of an XM or MOD\n"
    "module, its length, and each subsong with its first order and duration.\n"
    "  --json                 one JSON object on one line\n";

const char* const RenderUsage =
    "usage: tarnxm render FILE... (-o OUT | --out-dir DIR | --stems DIR) [options]\n"
    "Each song from its start to its end, rendered on every core at once.\n"
    "  -o OUT                 one song to OUT; - for the standard output\n"
    "  --out-dir DIR          each song to DIR/NAME.EXT\n"
    "  --stems DIR            each heard channel alone to DIR/NAME-01.EXT, ...\n"
    "  --format FORMAT        s16, s24 or f32 samples (s16; FLAC holds s16 or s24)\n"
    "  --container KIND       wav, flac or raw (from OUT's extension, else wav)\n"
    "  --seconds TIME         render TIME, playing on past the song's end\n"
    "  -j, --jobs N           files rendered at once (one for each core)\n" SOUND_OPTIONS;

const char* const PlayUsage =
    "usage: tarnxm play FILE... [options]\n"
    "The songs through the sound device, one after the other, each round and round\n"
    "until a key moves on, unless --once or --loops. A file that does not load, or\n"
    "lacks the subsong or start asked for, is one line and play goes on with the\n"
    "next. Exit status 0 when a file played, 1 when none did, 2 for a usage error.\n"
    "  --once                 each song once through (--loops 0)\n" SOUND_OPTIONS
    "keys: Space pause, q or Escape quit, Left/Right seek -/+5 s, Up/Down -/+1 order,\n"
    "      n/p next/previous file, < > previous/next subsong, 1-0 toggle channels 1-10,\n"
    "      ! unmute all, h help\n";

const char* const TarnXMVersion = "tarnxm " TARNXM_VERSION "\n";
