# Quick start: `make run` starts the tool, `make test` runs every test. Both install what is
# missing first (Debian packages through apt-get) and build what is out of date.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
WERROR     := $(if $(CI),ON,OFF)
CMAKE_COMMON := -G Ninja -DKORZENIK_WERROR=$(WERROR)

.PHONY: all deps build build-asan run test test-normal test-asan demo screenshot clean \
        windows test-windows \
        bench fuzz fuzz-smoke fuzz-build coverage package package-verify \
        format format-check

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	    -DKORZENIK_SANITIZE=ON -DKORZENIK_BUILD_BENCH=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The window when there is a display; otherwise the scripted demo session with its picture.
run: build
	@if [ -x $(BUILD)/qt/korzenik ] && [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    exec $(BUILD)/qt/korzenik; \
	else \
	    $(MAKE) --no-print-directory demo; \
	fi

demo: build
	@if [ -x $(BUILD)/script/korzenik-script ]; then \
	    echo "No display found: running the demo session headless (picture in out/demo.png)."; \
	    mkdir -p out; \
	    $(BUILD)/script/korzenik-script script/demo.ksc; \
	else \
	    echo "The window and the scripted host are not built yet; the numerical core is:"; \
	    ls $(BUILD)/core; \
	fi

test-normal: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: build-asan
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: test-normal test-asan test-windows

# The Windows edition: cross-built with mingw-w64 into $(WIN_BUILD), tested under Wine. `make
# windows` gives $(WIN_BUILD)/Korzenik.exe, $(WIN_BUILD)/korzenik-script.exe and the zip of both.
WIN_BUILD    ?= build-win
WIN_PACKAGES := g++-mingw-w64-x86-64-posix wine wine64 fonts-wine icoutils
WIN_TEST_PACKAGES := xvfb xauth xdotool x11-apps

$(WIN_BUILD)/build.ninja:
	@tools/install-deps.sh $(WIN_PACKAGES)
	cmake -S . -B $(WIN_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DKORZENIK_BUILD_QT=OFF -DKORZENIK_BUILD_BENCH=OFF

windows: $(WIN_BUILD)/build.ninja
	@tools/install-deps.sh $(WIN_PACKAGES)
	cmake --build $(WIN_BUILD) -j $(JOBS)

# The unit tests and golden sessions under Wine (in a Wine prefix of the build's own, made once),
# and the window driven on a virtual display; Wine's server is stopped afterwards.
test-windows: windows
	@tools/install-deps.sh $(WIN_PACKAGES) $(WIN_TEST_PACKAGES)
	tests/win32/wine_run.sh $(abspath $(WIN_BUILD))/wine --init
	ctest --test-dir $(WIN_BUILD) --output-on-failure -j $(JOBS); \
	    status=$$?; tests/win32/wine_run.sh $(abspath $(WIN_BUILD))/wine --stop; exit $$status

# A picture of the real window after the demo session's clicks, taken on a virtual display.
screenshot: build
	@tools/install-deps.sh xvfb xauth
	mkdir -p docs
	xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/qt/korzenik-screenshot docs/screenshot.png

# Release quality: benchmarks, fuzzing, coverage and the Debian package. Each target installs the
# extra tools it needs and builds in a directory of its own.
RELEASE_BUILD      ?= build-release
FUZZ_BUILD         ?= build-fuzz
COVERAGE_BUILD     ?= build-coverage
FUZZ_SECONDS       ?= 60
FUZZ_SMOKE_SECONDS ?= 15

$(RELEASE_BUILD)/build.ninja: | deps
	cmake -S . -B $(RELEASE_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release \
	    -DKORZENIK_BUILD_TESTS=OFF

# Each press beside its floor, then the window's start-up beside an empty Qt dialog.
bench: deps $(RELEASE_BUILD)/build.ninja
	@tools/install-deps.sh time xvfb xauth
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target bench_programs
	tools/bench.sh $(RELEASE_BUILD)

$(FUZZ_BUILD)/build.ninja: | deps
	@tools/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DKORZENIK_BUILD_FUZZ=ON -DKORZENIK_BUILD_QT=OFF \
	    -DKORZENIK_BUILD_TESTS=OFF -DKORZENIK_BUILD_BENCH=OFF

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target number_reader_fuzz session_fuzz

# FUZZ_SECONDS (FUZZ_SMOKE_SECONDS) per target; a failing input stops the run with an error.
fuzz: fuzz-build
	tools/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	tools/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS)

# Line coverage of core/, chart/ and app/ by the whole test suite; HTML in $(COVERAGE_BUILD)/coverage.
coverage: deps
	@tools/install-deps.sh gcovr
	cmake -S . -B $(COVERAGE_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	    -DKORZENIK_COVERAGE=ON -DKORZENIK_BUILD_QT=OFF -DKORZENIK_BUILD_BENCH=OFF
	cmake --build $(COVERAGE_BUILD) -j $(JOBS)
	find $(COVERAGE_BUILD) -name '*.gcda' -delete
	ctest --test-dir $(COVERAGE_BUILD) --output-on-failure -j $(JOBS)
	mkdir -p $(COVERAGE_BUILD)/coverage
	gcovr -r . --object-directory $(COVERAGE_BUILD) \
	    --filter 'core/' --filter 'chart/' --filter 'app/' \
	    --html-details $(COVERAGE_BUILD)/coverage/index.html \
	    --txt $(COVERAGE_BUILD)/coverage/summary.txt --print-summary $(COVERAGE_BUILD)
	@cat $(COVERAGE_BUILD)/coverage/summary.txt

# The Debian package of a Release build, checked with lintian and desktop-file-validate.
package: deps $(RELEASE_BUILD)/build.ninja
	@tools/install-deps.sh dpkg-dev fakeroot file lintian desktop-file-utils
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	rm -f $(RELEASE_BUILD)/korzenik_*.deb
	cd $(RELEASE_BUILD) && cpack -G DEB
	tools/check-package.sh $(RELEASE_BUILD)/korzenik_*.deb

# Installs the package on this machine, runs both programs from it, and removes it again.
package-verify: package
	@tools/install-deps.sh xvfb xauth
	tools/verify-package.sh $(RELEASE_BUILD)/korzenik_*.deb

# The tree's C++ sources as .clang-format lays them out; CI fails on any difference.
format-check:
	@tools/install-deps.sh clang-format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

format:
	@tools/install-deps.sh clang-format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

clean:
	@[ ! -d $(WIN_BUILD)/wine ] || tests/win32/wine_run.sh $(abspath $(WIN_BUILD))/wine --stop
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD) $(COVERAGE_BUILD) $(WIN_BUILD) out
