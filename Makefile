# Two commands do all the set-up: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)

WEB   ?= build-web
PORT  ?= 8000

.PHONY: deps configure build run test test-busy bench fuzz clean web web-run web-test package package-check \
        hub-build hub-run hub-test-pg hub-test-cluster hub-bench po mutants

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

# The same tests while stress-ng keeps every core busy.
test-busy: build
	@bash tools/test-busy.sh $(BUILD)

bench: build
	@xvfb-run -a -s "-screen 0 1024x768x24" ./$(BUILD)/tetherorb2-bench

package: build
	@cd $(BUILD) && cpack -G DEB

package-check: build
	@bash tools/package-check.sh $(BUILD)

# The translators' template po/tetherorb2.pot from the code, merged into every po/*.po.
po: deps
	@bash tools/make-po.sh

fuzz: deps
	@bash tools/run-fuzz.sh $${FUZZ_SECONDS:-180}

# The web page: build-web/index.html and the files it loads.
web: deps
	@bash tools/build-web.sh $(WEB)

web-run: web
	@echo "Serving the game on http://127.0.0.1:$(PORT)/ (Ctrl+C stops it)"
	@/usr/bin/python3 -m http.server --bind 127.0.0.1 --directory $(WEB) $(PORT) > /dev/null

# The page in headless Chromium beside the desktop game.
web-test: build web
	@TETHERORB2_BIN=$(abspath $(BUILD))/tetherorb2 REPO_ROOT=$(CURDIR) BUILD_DIR=$(abspath $(BUILD)) \
	  WEB_DIR=$(abspath $(WEB)) bash tests/web/test_web.sh

# The level hub (README: "Running a level hub").
HUB_LISTEN ?= 127.0.0.1:8080

hub-build: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tetherorb2-hub tetherorb2-hub-load -- --no-print-directory

hub-run: hub-build
	@mkdir -p hub-data
	@echo "The level hub on http://$(HUB_LISTEN)/ (Ctrl+C stops it)"
	./$(BUILD)/tetherorb2-hub --listen $(HUB_LISTEN) --db hub-data/hub.sqlite

# The hub's API tests against a throwaway PostgreSQL 15 cluster.
hub-test-pg: hub-build
	@python3 tests/hub/test_hub_api.py $(BUILD)/tetherorb2-hub --pg
	@python3 tests/hub/test_hub_service.py $(BUILD)/tetherorb2-hub --pg
	@python3 tests/hub/test_hub_cache.py $(BUILD)/tetherorb2-hub --pg
	@python3 tests/hub/test_hub_browse.py $(BUILD)/tetherorb2-hub --pg
	@python3 tests/hub/test_hub_guards.py $(BUILD)/tetherorb2-hub --pg
	@python3 tests/hub/test_hub_tries.py $(BUILD)/tetherorb2-hub --pg

# Two hub copies behind HAProxy on a throwaway PostgreSQL 15 cluster, one killed midway.
hub-test-cluster: hub-build
	@python3 tests/hub/test_hub_cluster.py $(BUILD)/tetherorb2-hub

hub-bench: hub-build
	@bash tools/hub-bench.sh $(BUILD)

# How many one-operator faults in src/game and src/hub the headless and hub API
# tests catch (MUTANTS=30 mutants drawn with SEED=...; tools/mutants.sh).
mutants: deps
	@bash tools/mutants.sh

clean:
	rm -rf $(BUILD) build-asan build-fuzz $(WEB)
