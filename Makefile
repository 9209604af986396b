# The two commands of the README, plus benchmarks.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run screenshot test bench package clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "There is no display to open the window on. 'make screenshot' runs quoril on a virtual"; \
	  echo "screen and saves its window as $(BUILD)/screenshot.png."; exit 1; fi
	$(BUILD)/bin/quoril

screenshot: build
	@scripts/screenshot $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j8

package: build
	cmake --build $(BUILD) --target package

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD)
