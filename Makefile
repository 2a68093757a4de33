# Developer entry points. `make run` and `make test` work on a fresh Debian machine.
BUILD_DIR  ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
ARGS       ?=

CMAKE_FLAGS ?=

PREFIX     ?= /usr/local

.PHONY: all deps configure build run test test-core test-gui install package bench sanitize tidy \
	format clean

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

# Core tests need no display; tests labelled "gui" run under a private Xvfb.
test: build
	cd $(BUILD_DIR) && ctest -LE gui -j $(JOBS) --output-on-failure
	cd $(BUILD_DIR) && xvfb-run -a -s "-screen 0 1920x1080x24" ctest -L gui -j $(JOBS) --output-on-failure

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
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench build-asan
