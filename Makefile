# The two commands of the README: `make run` and `make test`.
BUILD := build
JOBS := $(shell nproc)

.PHONY: run test build clean

build:
	@scripts/install-deps build
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run:
	@scripts/install-deps run
	@$(MAKE) --no-print-directory build
	@scripts/run-intro $(BUILD)

test:
	@scripts/install-deps test
	@$(MAKE) --no-print-directory build
	@scripts/run-tests $(BUILD)

clean:
	rm -rf $(BUILD)
