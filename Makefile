# Tomvik: `make run` starts the program, `make test` runs every test.
# Both install what is missing first (scripts/install-deps), then configure
# and build in build/.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
PREFIX ?= /usr/local
CMAKE_FLAGS ?=
# The fuzz targets: their own build with clang, a short run of each in
# `make test`, FUZZ_SECONDS of each in `make fuzz`.
FUZZ_DIR = $(BUILD_DIR)/fuzz
FUZZ_CXX ?= clang++-14
FUZZ_SECONDS ?= 300

.PHONY: all deps configure build run test install fuzz-build fuzz demo screenshots bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/bin/tomvik

test: build fuzz-build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j 2
	ctest --test-dir $(FUZZ_DIR) --output-on-failure -j 2

$(FUZZ_DIR)/CMakeCache.txt: | deps
	cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=$(FUZZ_CXX)

fuzz-build: deps $(FUZZ_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_DIR)

# Each target for FUZZ_SECONDS, two at a time; what they find is kept in
# $(FUZZ_DIR)/work/<target>/artifacts.
fuzz: fuzz-build
	TOMVIK_FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --test-dir $(FUZZ_DIR) --output-on-failure -j 2 --timeout $$(( $(FUZZ_SECONDS) + 300 ))

# The program, its menu entry, icon, metainfo and help pages under $(PREFIX)
# (DESTDIR is honoured for packaging).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The sample data in a fresh folder, with the executable beside it (the
# program's files sit in its own folder). The date is the sample's "today".
DEMO_DIR = $(BUILD_DIR)/demo
DEMO_DATE ?= 2026-12-08
demo: build
	rm -rf $(DEMO_DIR) && mkdir -p $(DEMO_DIR)
	cp examples/sample/* $(DEMO_DIR)/
	cp $(BUILD_DIR)/bin/tomvik $(DEMO_DIR)/
	TOMVIK_TODAY=$(DEMO_DATE) $(DEMO_DIR)/tomvik

screenshots: build
	rm -rf $(BUILD_DIR)/screenshots-data && mkdir -p $(BUILD_DIR)/screenshots-data
	cp examples/sample/* $(BUILD_DIR)/screenshots-data/
	xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD_DIR)/tools/tomvik_screenshots \
	    $(BUILD_DIR)/screenshots-data $(BUILD_DIR)/screenshots $(DEMO_DATE)

bench: build
	$(BUILD_DIR)/bench/records_bench
	$(BUILD_DIR)/bench/totals_bench
	$(BUILD_DIR)/bench/list_paint_bench
	$(BUILD_DIR)/bench/import_bench
	$(BUILD_DIR)/bench/lookup_bench
	$(BUILD_DIR)/bench/stock_save_bench
	$(BUILD_DIR)/bench/recording_bench
	$(BUILD_DIR)/bench/window_bench

clean:
	rm -rf $(BUILD_DIR)
