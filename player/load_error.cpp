#include "player/load_error.h"

const char* LoadErrorText(TTarnXMLoadError error) {
  switch (error) {
    case TTarnXMLoadError::None: return "no error";
    case TTarnXMLoadError::TooShort: return "too short to be a module";
    case TTarnXMLoadError::NotAModule: return "not an XM or MOD module";
    case TTarnXMLoadError::PackedMOD: return "packed MOD (PP signature), not supported";
    case TTarnXMLoadError::BadChannelCount: return "MOD signature names an unsupported channel count";
    case TTarnXMLoadError::MODSizeMismatch: return "truncated or padded MOD (its size does not match its layout)";
    case TTarnXMLoadError::TruncatedPatternHeader: return "truncated pattern header";
    case TTarnXMLoadError::TruncatedInstrumentHeader: return "truncated instrument header";
    case TTarnXMLoadError::TruncatedSampleHeader: return "truncated sample header";
    case TTarnXMLoadError::OutOfMemory: return "out of memory";
    case TTarnXMLoadError::ResourceNotFound: return "resource not found or empty";
  }
  return "unknown error";
}
