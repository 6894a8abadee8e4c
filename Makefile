# Quick start: `make run` starts the program, `make test` runs every test.
# Both install the Debian 12 packages the build needs (as root), configure and build in build/.

BUILD_DIR ?= build
CMAKE_FLAGS ?=
WERROR ?= OFF
JOBS ?= $(shell nproc)

DEB_PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev \
	pcscd libpcsclite-dev vsmartcard-vpcd

.PHONY: all deps configure build run test clean format

all: build

deps:
	@missing=""; \
	for p in $(DEB_PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		if [ "$$(id -u)" = 0 ]; then \
			echo "Installing:$$missing"; \
			apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
		else \
			echo "Missing packages. Run as root:"; \
			echo "  apt-get install -y$$missing"; \
			exit 1; \
		fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The desktop program on your virtual card when there is a display; without one, the command-line
# demonstration.
run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
		$(BUILD_DIR)/src/ui/kestrel --device VIRTUAL; \
	else \
		echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): showing the command-line program instead."; \
		sh tools/demo.sh $(BUILD_DIR)/src/cli/kestrel-cli; \
	fi

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

format:
	find src tests fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
