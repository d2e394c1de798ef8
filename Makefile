# Quick start: `make run` starts the tool, `make test` runs every test. Both install what is
# missing first (Debian packages through apt-get) and build what is out of date.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
WERROR     := $(if $(CI),ON,OFF)
CMAKE_COMMON := -G Ninja -DKORZENIK_WERROR=$(WERROR)

.PHONY: all deps build build-asan run test test-normal test-asan demo screenshot clean

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

test: test-normal test-asan

# A picture of the real window after the demo session's clicks, taken on a virtual display.
screenshot: build
	@tools/install-deps.sh xvfb xauth
	mkdir -p docs
	xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/qt/korzenik-screenshot docs/screenshot.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) out
