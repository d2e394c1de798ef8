# Quick start: `make run` starts the tool, `make test` runs every test. Both install what is
# missing first (Debian packages through apt-get) and build what is out of date.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
# Warnings are errors in CI (CI set), or when asked for: make WERROR=ON ...
WERROR     ?= $(if $(CI),ON,OFF)
CMAKE_COMMON := -G Ninja -DKORZENIK_WERROR=$(WERROR)

# $(call configure,DIR,OPTIONS): the CMake configuration of a build folder, made again whenever
# the options differ from the ones it was last made with, so every make applies the current ones.
define configure
$(1)/options.txt: FORCE
	@mkdir -p $(1) && echo '$(2)' | cmp -s - $$@ || echo '$(2)' > $$@
$(1)/build.ninja: $(1)/options.txt | deps
	cmake -S . -B $(1) $(2)
	@touch $$@
endef

.PHONY: FORCE fuzz-deps all deps build build-asan run test test-normal test-asan demo screenshot clean \
        golden window-check \
        bench bench-programs bench-check bench-check-run bench-web-programs \
        fuzz fuzz-smoke fuzz-build coverage package package-verify \
        format format-check bench-run package-build web web-deps web-test-deps web-serve \
        web-screenshot test-web bench-web bench-web-run windows win-deps win-test-deps \
        test-windows

all: build

deps:
	@tools/install-deps.sh

$(eval $(call configure,$(BUILD),$(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORZENIK_SANITIZE=OFF -DKORZENIK_BUILD_BENCH=ON))
$(eval $(call configure,$(ASAN_BUILD),$(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
    -DKORZENIK_SANITIZE=ON -DKORZENIK_BUILD_BENCH=OFF))

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The window when there is a display; otherwise the scripted demo session with its picture.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    exec $(BUILD)/qt/korzenik; \
	else \
	    echo "No display found: running the demo session headless (picture in out/demo.png)."; \
	    $(MAKE) --no-print-directory demo; \
	fi

demo: build
	@mkdir -p out
	$(BUILD)/script/korzenik-script script/demo.ksc

test-normal: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: build-asan
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: test-normal test-asan window-check test-web test-windows

# The golden sessions' transcripts and pictures written anew by this build's korzenik-script.
golden: build
	tools/golden.sh $(BUILD)

# A picture of the real window after the demo session's clicks, taken on a virtual display.
screenshot: build
	@tools/install-deps.sh xvfb xauth
	mkdir -p docs
	xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/tests/qt/korzenik-screenshot \
	    script/demo.ksc docs/screenshot.png

# The real window under a window manager on a virtual display at three display scales, checked
# against the scripted session's picture (tools/window_check.py).
window-check: build
	@tools/install-deps.sh xvfb openbox xdotool x11-utils python3-pil dbus-daemon at-spi2-core python3-pyatspi
	tools/window_check.py $(BUILD)

# Release quality: benchmarks, fuzzing, coverage and the Debian package. Each target installs the
# extra tools it needs and builds in a directory of its own.
RELEASE_BUILD      ?= build-release
FUZZ_BUILD         ?= build-fuzz
COVERAGE_BUILD     ?= build-coverage
FUZZ_SECONDS       ?= 60
FUZZ_SMOKE_SECONDS ?= 15

# The release build (benchmarks, package) with Debian's hardening flags: fortified functions,
# stack protector, full RELRO and immediate binding. The targets that need dpkg-buildflags
# install it, then run make again so that these are read with it present.
HARDENED = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
RELEASE_CXXFLAGS = $(shell $(HARDENED) CPPFLAGS 2>/dev/null) $(shell $(HARDENED) CXXFLAGS 2>/dev/null)
RELEASE_LDFLAGS = $(shell $(HARDENED) LDFLAGS 2>/dev/null)
$(eval $(call configure,$(RELEASE_BUILD),$(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release \
    -DKORZENIK_BUILD_TESTS=OFF -DCMAKE_CXX_FLAGS="$(RELEASE_CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(RELEASE_LDFLAGS)"))

# Each press beside its floor, then the window's start-up beside an empty Qt dialog.
BENCH_PACKAGES := dpkg-dev time xvfb xauth gnuplot-nox

bench: deps
	@tools/install-deps.sh $(BENCH_PACKAGES)
	@$(MAKE) --no-print-directory bench-run

bench-run: bench-programs
	tools/bench.sh $(RELEASE_BUILD)
	$(MAKE) --no-print-directory bench-web

bench-programs: $(RELEASE_BUILD)/build.ninja
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target bench_programs

# What make bench and make bench-web run, built and installed as they build and install it, and
# looked for: CI's check that both work on a fresh clone. It also times the ordinary presses once,
# briefly, and fails when one takes over 3 times its floor measured in the same run.
bench-check: deps web-test-deps
	@tools/install-deps.sh $(BENCH_PACKAGES)
	@$(MAKE) --no-print-directory bench-check-run

bench-check-run: bench-programs bench-web-programs
	tools/bench.sh --check $(RELEASE_BUILD)

# Debian's default clang and its libFuzzer runtime.
$(eval $(call configure,$(FUZZ_BUILD),$(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKORZENIK_BUILD_FUZZ=ON -DKORZENIK_BUILD_QT=OFF \
    -DKORZENIK_BUILD_TESTS=OFF -DKORZENIK_BUILD_BENCH=OFF))

$(FUZZ_BUILD)/build.ninja: | fuzz-deps
fuzz-deps:
	@tools/install-deps.sh clang libclang-rt-dev

fuzz-build: deps fuzz-deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target number_reader_fuzz expression_fuzz session_fuzz

# FUZZ_SECONDS (FUZZ_SMOKE_SECONDS) per target; a failing input stops the run with an error.
fuzz: fuzz-build
	tools/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	tools/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS)

# Line coverage of core/, chart/ and app/ by the whole test suite; HTML in $(COVERAGE_BUILD)/coverage.
$(eval $(call configure,$(COVERAGE_BUILD),$(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
    -DKORZENIK_COVERAGE=ON -DKORZENIK_BUILD_QT=OFF -DKORZENIK_BUILD_BENCH=OFF))

coverage: deps $(COVERAGE_BUILD)/build.ninja
	@tools/install-deps.sh gcovr
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
package: deps
	@tools/install-deps.sh dpkg-dev fakeroot file lintian desktop-file-utils
	@$(MAKE) --no-print-directory package-build

package-build: $(RELEASE_BUILD)/build.ninja
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD) $(COVERAGE_BUILD) $(WEB_BUILD) \
	    $(WIN_BUILD) out

# The browser edition: the page in $(WEB_BUILD)/site, korzenik-script for node in
# $(WEB_BUILD)/korzenik-script, their tests (unit tests and golden sessions under node, the page in
# Debian's headless Chromium against the native scripted host) and their benchmarks.
WEB_BUILD ?= build-web
WEB_PORT  ?= 8080

web-deps: deps
	@tools/install-deps.sh emscripten nodejs libstb-dev terser

$(eval $(call configure,$(WEB_BUILD),$(CMAKE_COMMON) -DCMAKE_TOOLCHAIN_FILE=cmake/Emscripten.cmake \
    -DCMAKE_BUILD_TYPE=Release -DKORZENIK_BUILD_QT=OFF \
    -DKORZENIK_BUILD_TESTS=OFF -DKORZENIK_BUILD_BENCH=OFF \
    -DKORZENIK_NATIVE_SCRIPT=$(abspath $(BUILD))/script/korzenik-script))
$(WEB_BUILD)/build.ninja: | web-deps

web: web-deps $(WEB_BUILD)/build.ninja
	cmake --build $(WEB_BUILD) -j $(JOBS)

# For the browser tests: Debian's Chromium, and playwright-core as web/package-lock.json pins it
# to drive that browser (it downloads none of its own).
web-test-deps: web-deps
	@tools/install-deps.sh chromium
	@command -v npm >/dev/null || tools/install-deps.sh npm

web/node_modules/.package-lock.json: web/package.json web/package-lock.json | web-test-deps
	cd web && npm ci --no-audit --no-fund

web-serve: web
	node web/serve.mjs $(WEB_BUILD)/site $(WEB_PORT)

test-web: build web web-test-deps web/node_modules/.package-lock.json
	ctest --test-dir $(WEB_BUILD) --output-on-failure -j $(JOBS)

# The page after the demo session, as headless Chromium shows it on a desktop and on a phone.
web-screenshot: build web web-test-deps web/node_modules/.package-lock.json
	KORZENIK_NATIVE_BUILD=$(abspath $(BUILD)) node web/tests/screenshot.mjs $(WEB_BUILD)/site docs/screenshot-web.png docs/screenshot-web-phone.png

# What the page loads, its start-up beside its own static HTML and CSS, and the Confirm press in
# WebAssembly under node beside the native one (of the hardened release build, as make bench).
bench-web: web-test-deps
	@tools/install-deps.sh dpkg-dev
	@$(MAKE) --no-print-directory bench-web-run

bench-web-run: bench-web-programs
	node web/bench/bench.mjs $(WEB_BUILD) $(RELEASE_BUILD)

bench-web-programs: web web/node_modules/.package-lock.json $(RELEASE_BUILD)/build.ninja
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target web_press_timing
	cmake --build $(WEB_BUILD) -j $(JOBS) --target web_press_timing

# The Windows edition, cross-built with mingw-w64: $(WIN_BUILD)/Korzenik.exe (the window),
# $(WIN_BUILD)/korzenik-script.exe and korzenik-VERSION-win64.zip with both; their tests (unit
# tests and golden sessions under Wine, in a Wine prefix of the build's own made once, and the
# window driven on a virtual display). Wine's server is stopped after the tests.
WIN_BUILD ?= build-win

WIN_PACKAGES := g++-mingw-w64-x86-64-posix wine wine64 fonts-wine icoutils librsvg2-bin

win-deps: deps
	@tools/install-deps.sh $(WIN_PACKAGES)

# The tests' display and input, and Python for the scripts that drive and read the programs, in
# the same one installation.
win-test-deps: deps
	@tools/install-deps.sh $(WIN_PACKAGES) xvfb xauth xdotool x11-apps python3

$(eval $(call configure,$(WIN_BUILD),$(CMAKE_COMMON) \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKORZENIK_BUILD_QT=OFF -DKORZENIK_BUILD_BENCH=OFF))
$(WIN_BUILD)/build.ninja: | win-deps

windows: win-deps $(WIN_BUILD)/build.ninja
	cmake --build $(WIN_BUILD) -j $(JOBS)

test-windows: win-test-deps windows
	tests/win32/wine_run.sh $(abspath $(WIN_BUILD))/wine --init
	ctest --test-dir $(WIN_BUILD) --output-on-failure -j $(JOBS); \
	    status=$$?; tests/win32/wine_run.sh $(abspath $(WIN_BUILD))/wine --stop; exit $$status
