# Korva emulator: make run | make demo | make test | make bench
JOBS ?= $(shell nproc)
BUILD ?= build
TESTBUILD ?= build-test
FUZZBUILD ?= build-fuzz

.PHONY: run demo test bench deps build build-tests fuzz clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVA_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/korva $(ARGS)

# The program in a folder of its own ($(BUILD)/demo) with the project's screen
# test ROM and font, its screen window open.
demo: build
	bash scripts/demo.sh $(BUILD) $(BUILD)/demo

# Tests run in a separate sanitized build (AddressSanitizer and UndefinedBehaviorSanitizer).
build-tests: deps
	cmake -S . -B $(TESTBUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVA_SANITIZE=ON -DKORVA_BENCH=OFF
	cmake --build $(TESTBUILD) -j $(JOBS)

test: build-tests
	cd $(TESTBUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest -j $(JOBS) --output-on-failure
	@$(MAKE) --no-print-directory fuzz

# Each parser's libFuzzer target runs for a few seconds.
fuzz: deps
	@if [ -f tests/fuzz/CMakeLists.txt ]; then \
	  CXX=clang++ cmake -S . -B $(FUZZBUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVA_FUZZ=ON -DKORVA_UI=OFF -DKORVA_TESTS=OFF -DKORVA_BENCH=OFF && \
	  cmake --build $(FUZZBUILD) -j $(JOBS) && \
	  for f in $(FUZZBUILD)/tests/fuzz/fuzz_*; do \
	    [ -x "$$f" ] || continue; echo "fuzzing $$f"; \
	    "$$f" -max_total_time=$${FUZZ_SECONDS:-5} -rss_limit_mb=2048 -print_final_stats=0 >/dev/null 2>"$$f.log" || { tail -40 "$$f.log"; exit 1; }; \
	  done; \
	fi

bench: build
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVA_TESTS=OFF -DKORVA_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] && [ "$$(basename $$b)" != bench_mix ] && { "$$b" || exit 1; }; done; true
	@# The guest benchmark last: its summary lines end the output.
	@[ ! -x $(BUILD)/bench/bench_mix ] || $(BUILD)/bench/bench_mix

clean:
	rm -rf $(BUILD) $(TESTBUILD) $(FUZZBUILD)
