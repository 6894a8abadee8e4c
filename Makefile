# Quick start: `make run` starts the program, `make test` runs every test.
# Both install the Debian 12 packages the build needs (as root), configure and build in build/.

BUILD_DIR ?= build
CMAKE_FLAGS ?=
WERROR ?= OFF
JOBS ?= $(shell nproc)

DEB_PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgtest-dev libgmock-dev \
	pcscd libpcsclite-dev vsmartcard-vpcd poppler-utils

# `make fuzz`: the fuzz targets built with clang in FUZZ_DIR, each run FUZZ_TIME seconds on its
# corpus, FUZZ_PARALLEL side by side (fuzz/run.sh; CI runs them for 30 s).
FUZZ_DIR ?= build-fuzz
FUZZ_TIME ?= 300
FUZZ_PARALLEL ?= 2
FUZZ_DEB_PACKAGES := clang libclang-rt-14-dev

# `make package`: the Debian package kestrel_<version>_<arch>.deb, made by CPack in BUILD_DIR
# (Depends from dpkg-shlibdeps). `make package-check` checks it (tools/check-package.sh).
PACKAGE_DEB_PACKAGES := dpkg-dev file
PACKAGE_CHECK_DEB_PACKAGES := lintian appstream desktop-file-utils shared-mime-info groff-base

.PHONY: all deps fuzz-deps package-deps configure build run test fuzz package package-check clean format \
	guide-screenshots

all: build

# Installs the Debian packages of a list that are missing (as root; otherwise says what to run).
define install-packages
	@missing=""; \
	for p in $(1); do \
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
endef

deps:
	$(call install-packages,$(DEB_PACKAGES))

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

# The user guide's screenshots, taken of the program's own windows on the virtual card
# (tools/guide-shots; the printed page needs pdftoppm of poppler-utils). The PNGs are committed;
# run this again after changing a window.
GUIDE_IMAGES := resources/guide/images
guide-screenshots: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kestrel-guide-shots
	$(BUILD_DIR)/tools/guide-shots/kestrel-guide-shots $(GUIDE_IMAGES)

fuzz-deps: deps
	$(call install-packages,$(FUZZ_DEB_PACKAGES))

fuzz: fuzz-deps
	CMAKE_FLAGS="$(CMAKE_FLAGS)" fuzz/run.sh $(FUZZ_DIR) $(FUZZ_TIME) $(FUZZ_PARALLEL)

package-deps: deps
	$(call install-packages,$(PACKAGE_DEB_PACKAGES))

package: package-deps build
	cd $(BUILD_DIR) && cpack -G DEB
	@echo "Package: $$(ls -t $(BUILD_DIR)/kestrel_*.deb | head -n 1)"

package-check: package
	$(call install-packages,$(PACKAGE_CHECK_DEB_PACKAGES))
	tools/check-package.sh "$$(ls -t $(BUILD_DIR)/kestrel_*.deb | head -n 1)"

format:
	find src tests fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
