#pragma once
// The tool's help texts: the overview, and each command's with its options.
extern const char* const TarnXMUsage;
extern const char* const InfoUsage;
extern const char* const RenderUsage;
extern const char* const PlayUsage;
// "tarnxm 0.1.0": the project's version.
extern const char* const TarnXMVersion;
