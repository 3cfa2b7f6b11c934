# Tallowin: `make run` starts the tool, `make test` passes every test. Both install what is
# missing first (Debian packages, through sudo when not root).
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
# How long one fuzz run lasts, in seconds.
FUZZ_SECONDS ?= 600
# How long one input may take before it counts as a hang (a loaded machine needs more).
FUZZ_TIMEOUT ?= 10
FUZZ_TARGETS = fuzz-settings fuzz-paths fuzz-png fuzz-png-writer
CROSS_BUILD ?= build-arm64
CROSS_TESTS = $(addprefix test_platform_,memory files picture codec gdi clipboard)

.PHONY: all deps build run test test-debian13 cross-arm64 unit-asan demo bench package install clean format \
  format-check $(FUZZ_TARGETS)

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Only the program: the tests and benchmarks are built by the targets that run them.
run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tallowin
	@scripts/run $(BUILD)/tallowin

test: build
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLOWIN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# `make test` again, in a Debian 13 root made with debootstrap and kept under /var/cache/tallowin
# (made again when scripts/install-deps changes), from a copy of this checkout.
test-debian13:
	@scripts/debian13 test

# The program and the platform unit tests built for arm64 with Debian's cross compiler and arm64
# libraries, the tests run under qemu-aarch64. Not part of `make test`.
cross-arm64:
	@scripts/install-deps cross-arm64
	cmake -S . -B $(CROSS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DTALLOWIN_BENCH=OFF
	cmake --build $(CROSS_BUILD) -j $(JOBS) --target tallowin $(CROSS_TESTS)
	file $(CROSS_BUILD)/tallowin
	@for t in $(CROSS_TESTS); do echo "== $$t (arm64, under qemu-aarch64)"; \
	  QT_QPA_PLATFORM=offscreen qemu-aarch64 -L /usr/aarch64-linux-gnu $(CROSS_BUILD)/tests/$$t --gtest_brief=1 \
	    || exit 1; done

demo: build
	@scripts/demo $(BUILD)/tallowin

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done
	@bench/grab_cost.sh $(BUILD)

package: build
	cd $(BUILD) && cpack -G DEB

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX),)

# Fuzz targets: clang and libFuzzer, in their own build folder; the corpus grows in $(FUZZ_BUILD)/corpus,
# and an input that fails or hangs is written into the build folder.
$(FUZZ_BUILD)/build.ninja:
	@scripts/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWIN_FUZZ=ON \
	  -DTALLOWIN_HARDEN=OFF

# make fuzz-NAME runs the target fuzz_NAME, starting from the seeds in fuzz/seeds/NAME.
$(FUZZ_TARGETS): fuzz-%: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) --target fuzz_$*
	mkdir -p $(FUZZ_BUILD)/corpus/$*
	$(FUZZ_BUILD)/fuzz/fuzz_$* -max_total_time=$(FUZZ_SECONDS) -timeout=$(FUZZ_TIMEOUT) \
	  -artifact_prefix=$(FUZZ_BUILD)/ \
	  $(FUZZ_BUILD)/corpus/$* fuzz/seeds/$*

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(CROSS_BUILD)

# The code's format (.clang-format), applied or checked.
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
format: deps
	clang-format -i $(FORMAT_FILES)

format-check: deps
	clang-format --dry-run -Werror $(FORMAT_FILES)
