#pragma once
// Why a module did not load, one reason per kind of damage.

enum class TTarnXMLoadError {
  None,
  TooShort,
  NotAModule,
  PackedMOD,
  BadChannelCount,
  MODSizeMismatch,
  TruncatedPatternHeader,
  TruncatedInstrumentHeader,
  TruncatedSampleHeader,
  OutOfMemory,
  ResourceNotFound,
};

// The reason in words, for a person: "truncated sample header".
const char* LoadErrorText(TTarnXMLoadError error);
