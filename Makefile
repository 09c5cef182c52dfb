# The two commands of the README: `make run` and `make test`.
BUILD := build
SANITIZE_BUILD := build-sanitize
JOBS := $(shell nproc)
SANITIZE_FLAGS := -O1 -g -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

.PHONY: run test check build sanitize-build clean

build:
	@scripts/install-deps build
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

sanitize-build:
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)

run:
	@scripts/install-deps run
	@$(MAKE) --no-print-directory build
	@scripts/run-intro $(BUILD)

# The whole suite twice: the release build, then under AddressSanitizer and
# UndefinedBehaviorSanitizer, where any finding fails.
test:
	@scripts/install-deps test
	@$(MAKE) --no-print-directory build
	@scripts/run-tests $(BUILD)
	@$(MAKE) --no-print-directory sanitize-build
	@scripts/run-tests $(SANITIZE_BUILD)

# The release build's suite alone, for quick rounds while working.
check:
	@scripts/install-deps test
	@$(MAKE) --no-print-directory build
	@scripts/run-tests $(BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
