# make run     - install what is missing, build the program, and start it
# make test    - install what is missing, build, and run every test (under its own Xvfb)
# make install - install the program (PREFIX=/usr/local, DESTDIR for a staging tree)
# make package - build a Debian package, tarksen_<version>_<arch>.deb, in this directory
# make bench / make fuzz - benchmarks and bounded fuzzing (not part of make test)
# make web / make web-run - the browser version (web/web.mk)

BUILD      := build
TESTBUILD  := build-test
PKGBUILD   := build-package
BENCHBUILD := build-bench
FUZZBUILD  := build-fuzz
JOBS       := $(shell nproc 2>/dev/null || echo 2)
PREFIX     ?= /usr/local

RUN_PKGS   := cmake g++ pkg-config libsdl2-dev libpng-dev
PKG_PKGS   := $(RUN_PKGS) dpkg-dev file
TEST_PKGS  := $(PKG_PKGS) libgtest-dev libx11-dev xvfb xauth libgl1-mesa-dri xdotool xclip \
              imagemagick netpbm desktop-file-utils man-db groff-base shared-mime-info x11-xkb-utils \
              openbox x11-utils xdg-utils libfile-mimeinfo-perl
BENCH_PKGS := $(RUN_PKGS) libbenchmark-dev libx11-dev xvfb xauth libgl1-mesa-dri netpbm
FUZZ_PKGS  := $(RUN_PKGS) clang libclang-rt-14-dev

.PHONY: run test install uninstall package bench fuzz screenshot build build-tests \
        build-package deps-run deps-test deps-package deps-bench deps-fuzz clean

# Installs the Debian packages in $(1) that are missing: as root with apt-get,
# else through sudo, else prints the line to run and stops.
define install
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  if [ "$$(id -u)" = 0 ]; then \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing >/dev/null || exit 1; \
	  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then \
	    sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing >/dev/null || exit 1; \
	  else \
	    echo "Please run as root: apt-get install -y $$missing"; exit 1; \
	  fi; \
	fi
endef

deps-run:     ; $(call install,$(RUN_PKGS))
deps-test:    ; $(call install,$(TEST_PKGS))
deps-package: ; $(call install,$(PKG_PKGS))
deps-bench:   ; $(call install,$(BENCH_PKGS))
deps-fuzz:    ; $(call install,$(FUZZ_PKGS))

CMAKE_BUILD := env -u MAKEFLAGS -u MAKELEVEL cmake --build

# The program as users get it: optimized, no sanitizers. make build TARGET=tarksen
# builds the program alone.
TARGET := all
build:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DTARKSEN_SANITIZE=OFF -DTARKSEN_TESTS=OFF \
	  -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@$(CMAKE_BUILD) $(BUILD) -j $(JOBS) --target $(TARGET)

# The tests and the program they drive, under AddressSanitizer and UBSan. The tests of
# what users get use the trees of make build and make package. The tree's own install
# prefix is a place that stays empty, so no installed copy of the font is ever found.
build-tests:
	@cmake -S . -B $(TESTBUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARKSEN_SANITIZE=ON \
	  -DTARKSEN_TESTS=ON -DCMAKE_INSTALL_PREFIX=$(CURDIR)/$(TESTBUILD)/not-installed \
	  -DTARKSEN_PROGRAM_BUILD=$(CURDIR)/$(BUILD) \
	  -DTARKSEN_PACKAGE_BUILD=$(CURDIR)/$(PKGBUILD) >/dev/null
	@$(CMAKE_BUILD) $(TESTBUILD) -j $(JOBS) --target $(TARGET)

# The package installs under /usr, so its tree is configured for that prefix.
build-package:
	@cmake -S . -B $(PKGBUILD) -DCMAKE_BUILD_TYPE=Release -DTARKSEN_SANITIZE=OFF \
	  -DTARKSEN_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
	@$(CMAKE_BUILD) $(PKGBUILD) -j $(JOBS)
	@rm -f $(PKGBUILD)/tarksen_*.deb
	@cd $(PKGBUILD) && { cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }; }

run: deps-run
	@$(MAKE) --no-print-directory build TARGET=tarksen
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display to open the window on; 'xvfb-run make run' gives a virtual one."; exit 1; fi
	@$(BUILD)/tarksen

test: deps-test web web-test-deps
	@$(MAKE) --no-print-directory build
	@$(MAKE) --no-print-directory build-package
	@$(MAKE) --no-print-directory build-tests
	@xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
	  ctest --test-dir $(TESTBUILD) --output-on-failure -j $(JOBS)

# The list of what was installed is kept apart from CMake's manifest, which any later
# cmake --install (a staged one in the tests, say) overwrites.
install: deps-run
	@$(MAKE) --no-print-directory build
	@cmake --install $(BUILD)
	@cp $(BUILD)/install_manifest.txt $(BUILD)/installed-files.txt

# Removes what the last make install put in place (give it the same DESTDIR).
uninstall:
	@if [ -f $(BUILD)/installed-files.txt ]; then \
	  sed 's|^|$(DESTDIR)|' $(BUILD)/installed-files.txt | xargs -r rm -fv; fi

package: deps-package
	@$(MAKE) --no-print-directory build-package
	@cp $(PKGBUILD)/tarksen_*.deb .
	@cd $(PKGBUILD) && for f in tarksen_*.deb; do echo "Built $$f; install it with: apt-get install ./$$f"; done

bench: deps-bench web-bench
	@cmake -S . -B $(BENCHBUILD) -DCMAKE_BUILD_TYPE=Release -DTARKSEN_SANITIZE=OFF \
	  -DTARKSEN_TESTS=OFF -DTARKSEN_BENCH=ON >/dev/null
	@$(CMAKE_BUILD) $(BENCHBUILD) -j $(JOBS)
	@# bench_present opens windows up to 2560x1600: a screen that holds them.
	@cd $(BENCHBUILD) && for b in bench_*; do s=1024x768; [ $$b = bench_present ] && s=2600x1640; \
	  xvfb-run -a -s "-screen 0 $${s}x24" ./$$b; done

fuzz: deps-fuzz
	@CXX=clang++ cmake -S . -B $(FUZZBUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARKSEN_SANITIZE=OFF \
	  -DTARKSEN_TESTS=OFF -DTARKSEN_FUZZ=ON >/dev/null
	@$(CMAKE_BUILD) $(FUZZBUILD) -j $(JOBS)
	@# New inputs go to a scratch corpus; copy a crash worth keeping into tests/fuzz/<name>/.
	@cd $(FUZZBUILD) && for f in fuzz_*; do mkdir -p corpus-$$f && \
	  ./$$f -max_total_time=60 corpus-$$f $(CURDIR)/tests/fuzz/$${f#fuzz_} || exit 1; done

# The README's pictures in docs/, taken from the real program by the e2e helper.
screenshot: deps-test
	@$(MAKE) --no-print-directory build-tests TARGET=screenshot
	@$(TESTBUILD)/screenshot docs

clean:
	rm -rf $(BUILD) $(TESTBUILD) $(PKGBUILD) $(BENCHBUILD) $(FUZZBUILD) $(WEB) tarksen_*.deb

include web/web.mk
