# make run  - install what is missing, build, and start the program
# make test - install what is missing, build, and run every test (under its own Xvfb)
# make bench / make fuzz - benchmarks and bounded fuzzing (not part of make test)
# make web / make web-run - the browser version (web/web.mk)

BUILD      := build
BENCHBUILD := build-bench
FUZZBUILD  := build-fuzz
JOBS       := $(shell nproc 2>/dev/null || echo 2)
LSAN       := LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

RUN_PKGS   := cmake g++ pkg-config libsdl2-dev libgtest-dev libx11-dev
TEST_PKGS  := $(RUN_PKGS) xvfb xauth libgl1-mesa-dri xdotool xclip imagemagick netpbm
BENCH_PKGS := $(RUN_PKGS) libbenchmark-dev xvfb xauth libgl1-mesa-dri
FUZZ_PKGS  := $(RUN_PKGS) clang libclang-rt-14-dev

.PHONY: run test bench fuzz screenshot build deps-run deps-test deps-bench deps-fuzz clean

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

deps-run:   ; $(call install,$(RUN_PKGS))
deps-test:  ; $(call install,$(TEST_PKGS))
deps-bench: ; $(call install,$(BENCH_PKGS))
deps-fuzz:  ; $(call install,$(FUZZ_PKGS))

# make build TARGET=tarksen builds the program alone.
TARGET := all
build:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BUILD) -j $(JOBS) --target $(TARGET)

run: deps-run
	@$(MAKE) --no-print-directory build TARGET=tarksen
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display to open the window on; 'xvfb-run make run' gives a virtual one."; exit 1; fi
	@cd $(BUILD) && $(LSAN) ./tarksen

test: deps-test web web-test-deps
	@$(MAKE) --no-print-directory build
	@xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: deps-bench web-bench
	@cmake -S . -B $(BENCHBUILD) -DCMAKE_BUILD_TYPE=Release -DTARKSEN_SANITIZE=OFF \
	  -DTARKSEN_TESTS=OFF -DTARKSEN_BENCH=ON >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(BENCHBUILD) -j $(JOBS)
	@cd $(BENCHBUILD) && for b in bench_*; do xvfb-run -a -s "-screen 0 1024x768x24" ./$$b; done

fuzz: deps-fuzz
	@CXX=clang++ cmake -S . -B $(FUZZBUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARKSEN_SANITIZE=OFF \
	  -DTARKSEN_TESTS=OFF -DTARKSEN_FUZZ=ON >/dev/null
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(FUZZBUILD) -j $(JOBS)
	@# New inputs go to a scratch corpus; copy a crash worth keeping into tests/fuzz/<name>/.
	@cd $(FUZZBUILD) && for f in fuzz_*; do mkdir -p corpus-$$f && \
	  ./$$f -max_total_time=60 corpus-$$f $(CURDIR)/tests/fuzz/$${f#fuzz_} || exit 1; done

# The README's pictures in docs/, taken from the real program by the e2e helper.
screenshot: deps-test
	@$(MAKE) --no-print-directory build TARGET=screenshot
	@$(BUILD)/screenshot docs

clean:
	rm -rf $(BUILD) $(BENCHBUILD) $(FUZZBUILD) $(WEB)

include web/web.mk
