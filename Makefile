# The two commands of the README: `make run` and `make test`. Each tree is
# configured by its preset in CMakePresets.json (release, sanitize, tsan,
# fuzz, windows), which holds its compiler and flags.
BUILD := build
SANITIZE_BUILD := build-sanitize
JOBS := $(shell nproc)
# The player's tests that run threads, under ThreadSanitizer: the player's own
# (by these name patterns) and the audio devices'.
TSAN_BUILD := build-tsan
TSAN_TESTS := *Thread*:*Playback*:PlayerOutputTest.*:WaveOutTest.*
FUZZ_BUILD := build-fuzz
FUZZERS := fuzz_module fuzz_bmp fuzz_tga fuzz_jpeg fuzz_texture_script fuzz_mesh_script fuzz_scroller_text
FUZZ_SECONDS := 60
# make fuzz-report runs each fuzzer to a million runs or this long.
FUZZ_REPORT_SECONDS := 600
# make test fuzzes each parser this long, so that a regression shows at once.
TEST_FUZZ_SECONDS := 10
# The Windows build (mingw-w64) and the static libjpeg it links.
WINDOWS_BUILD := build-windows
WINDOWS_JPEG := build-windows-deps/jpeg

.PHONY: run test check build sanitize-build made-resources tsan-build tsan-test fuzz-build fuzz fuzz-coverage \
  fuzz-report windows windows-build windows-test clean

build:
	@scripts/install-deps build
	@cmake --preset release >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

sanitize-build:
	@cmake --preset sanitize >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)

# The thread-sanitizer and fuzz trees take the embedded resources and the
# fuzzers' seed writer from the release tree rather than build every tool
# that makes them again.
made-resources:
	@cmake --preset release >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target driftlow_resources make_seeds

tsan-build: made-resources
	@cmake --preset tsan >/dev/null
	@cmake --build $(TSAN_BUILD) -j$(JOBS) --target driftlow_player_tests driftlow_platform_tests

tsan-test: tsan-build
	@scripts/run-thread-tests $(TSAN_BUILD) '$(TSAN_TESTS)'

fuzz-build: made-resources
	@cmake --preset fuzz >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(FUZZERS)
	@$(BUILD)/fuzz/make_seeds . $(FUZZ_BUILD)

# Every parser's fuzzer for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600). The
# release tree they take resources from configures its tests too, hence the
# test group of packages.
fuzz:
	@scripts/install-deps test
	@$(MAKE) --no-print-directory fuzz-build
	@scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The module loaders' lines that the module fuzzer's corpus reaches.
fuzz-coverage:
	@scripts/install-deps test
	@$(MAKE) --no-print-directory fuzz-build
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_module_coverage
	@scripts/fuzz-coverage $(FUZZ_BUILD)

# The figures of the README's fuzzing paragraph: every fuzzer to a million
# runs or FUZZ_REPORT_SECONDS, then one table of runs, speed, edges, corpus,
# findings and the module loaders' line coverage.
fuzz-report:
	@scripts/install-deps test
	@$(MAKE) --no-print-directory fuzz-build
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_module_coverage
	@scripts/fuzz-report $(FUZZ_BUILD) $(FUZZ_REPORT_SECONDS)

# driftlow.exe and the Windows test programs. The resources it embeds are made
# by the release tree's tools, whose capture tool also draws the frames the
# Windows frames are compared with.
windows-build:
	@cmake --preset release >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target driftlow_resources driftlow-capture
	@scripts/windows-jpeg $(WINDOWS_JPEG)
	@cmake --preset windows >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j$(JOBS)

# The release tree it takes the resources from configures its tests too,
# hence the test group of packages.
windows:
	@scripts/install-deps test windows
	@$(MAKE) --no-print-directory windows-build
	@echo "$(WINDOWS_BUILD)/driftlow.exe"

# The Windows build's tests under Wine, where its packages are installed.
windows-test:
	@if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then \
	  $(MAKE) --no-print-directory windows-build && scripts/run-windows-tests $(WINDOWS_BUILD); \
	else \
	  echo "== Windows stage skipped: its packages are missing (scripts/install-deps windows)"; \
	fi

run:
	@scripts/install-deps run
	@$(MAKE) --no-print-directory build
	@scripts/run-intro $(BUILD)

# The format first; then the whole suite twice: the release build, then under
# AddressSanitizer and UndefinedBehaviorSanitizer, where any finding fails; the
# Windows build under Wine where its packages are installed; the thread tests
# under ThreadSanitizer; and every parser's fuzzer for a short while.
test:
	@scripts/install-deps test
	@scripts/check-format
	@$(MAKE) --no-print-directory build
	@scripts/run-tests $(BUILD)
	@$(MAKE) --no-print-directory windows-test
	@$(MAKE) --no-print-directory sanitize-build
	@scripts/run-tests $(SANITIZE_BUILD)
	@$(MAKE) --no-print-directory tsan-test
	@$(MAKE) --no-print-directory fuzz-build
	@scripts/run-fuzz $(FUZZ_BUILD) $(TEST_FUZZ_SECONDS)

# The release build's suite alone, for quick rounds while working.
check:
	@scripts/install-deps test
	@$(MAKE) --no-print-directory build
	@scripts/run-tests $(BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) build-windows-deps
