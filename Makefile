# Developer entry points. `make run` and `make test` work on a fresh Debian machine.
BUILD_DIR  ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
ARGS       ?=

CMAKE_FLAGS ?=

PREFIX     ?= /usr/local

.PHONY: all deps configure build run test test-core test-gui install package bench sanitize fuzz \
	tidy format clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

configure: $(BUILD_DIR)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/lumeris $(ARGS)

# Core tests need no display; tests labelled "gui" run under a private Xvfb. -noreset: Xvfb
# otherwise resets whenever its last client leaves, and a test starting in that moment finds no display.
test: build
	cd $(BUILD_DIR) && ctest -LE gui -j $(JOBS) --output-on-failure
	cd $(BUILD_DIR) && xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest -L gui -j $(JOBS) --output-on-failure

# The program, its resources, desktop entry, metainfo, icons, man page and shell completion
# under $(PREFIX); DESTDIR stages them elsewhere.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package, lumeris_VERSION_ARCH.deb, in $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack

bench: deps
	cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target benchmarks
	@for b in $(BUILD_DIR)-bench/bench/bench_*; do echo "== $$b"; $$b; done

# libFuzzer targets built with clang, each run for FUZZ_SECONDS from its seeds in tests/fuzz/corpus;
# inputs it finds go to build-fuzz/corpus, a crash's reproducer to build-fuzz/.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS  = image_reader settings_json preset_json ratio watermark address
fuzz: deps
	cmake -S . -B $(BUILD_DIR)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DLUMERIS_FUZZ=ON -DLUMERIS_TESTS=OFF -DLUMERIS_BENCH=OFF
	cmake --build $(BUILD_DIR)-fuzz -j $(JOBS) --target fuzz_targets
	@for name in $(FUZZ_TARGETS); do \
		echo "== fuzz_$$name"; \
		mkdir -p $(BUILD_DIR)-fuzz/corpus/$$name; \
		$(BUILD_DIR)-fuzz/tests/fuzz/fuzz_$$name -max_total_time=$(FUZZ_SECONDS) -close_fd_mask=3 \
			-rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=$(BUILD_DIR)-fuzz/fuzz_$$name- \
			$(BUILD_DIR)-fuzz/corpus/$$name tests/fuzz/corpus/$$name || exit 1; \
	done

# clang-tidy over src/ with the checks in .clang-tidy.
tidy: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
	run-clang-tidy -p $(BUILD_DIR) -j $(JOBS) -quiet "$(CURDIR)/src/"

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	$(MAKE) test BUILD_DIR=build-asan BUILD_TYPE=Debug CMAKE_FLAGS=-DLUMERIS_SANITIZE=ON

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(BUILD_DIR)-fuzz build-asan
