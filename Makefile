# Zerin: the two set-up commands of the README, and a few more, wrapping CMake.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps build run test asan bench package accuracy format-check mutate clean

all: build

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# Opens the main window (a display is needed).
run: build
	$(BUILD)/cli/zerin

# Every test, without a display (Qt's offscreen platform).
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZERIN_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

# The Debian package (build/zerin_*.deb), checked by lintian and run from a scratch root.
package: build
	cd $(BUILD) && cpack -G DEB
	sh scripts/check-package $(BUILD)

# How far each number is from the sky: PyEphem and adhan, rewrites docs/accuracy.md
# (a benchmark, not a test).
accuracy: build
	bench/accuracy/accuracy.py --zerin $(BUILD)/cli/zerin

# Every C++ source as .clang-format lays it out; nothing is changed.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Realistic slips applied one at a time (scripts/mutations.txt): each must fail a test.
mutate: deps
	scripts/mutate

bench: build
	$(BUILD)/bench/zerin_bench
	if [ -x $(BUILD)/bench/zerin_chart_bench ]; then QT_QPA_PLATFORM=offscreen $(BUILD)/bench/zerin_chart_bench; fi

clean:
	rm -rf $(BUILD) build-asan
