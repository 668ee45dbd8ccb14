# Two commands do all the set-up: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: deps configure build run test bench fuzz clean

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tetherorb2 -- --no-print-directory
	@if [ -z "$$DISPLAY" ]; then \
	  echo "No display to open a window on (DISPLAY is not set): start the game from a desktop session."; \
	  exit 1; \
	fi
	./$(BUILD)/tetherorb2

test: build
	@bash tools/run-tests.sh $(BUILD)

bench: build
	@xvfb-run -a -s "-screen 0 1024x768x24" ./$(BUILD)/tetherorb2-bench

fuzz: deps
	@bash tools/run-fuzz.sh $${FUZZ_SECONDS:-180}

clean:
	rm -rf $(BUILD) build-asan build-fuzz
