# make web     - builds the browser version: a static folder in $(WEB_SITE)
# make web-run - builds it and serves it on localhost
# Included by the Makefile, whose install helper and JOBS it uses.

WEB      := build-web
WEB_SDL  := $(WEB)/sdl
WEB_SITE := $(WEB)/tarksen/site
WEB_PKGS := emscripten dpkg-dev
WEB_TEST_PKGS := $(WEB_PKGS) chromium firefox-esr xvfb

# SDL from Debian's libsdl2 source, built once by the same compiler into the build
# tree. Threads stay out (the program has none); so does SDL's file-system part, as
# a page has no program directory: the file selector starts in the working directory.
WEB_SDL_OPTIONS := -DCMAKE_BUILD_TYPE=Release -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
  -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF -DSDL_FILESYSTEM=OFF
# Debian's emcc needs its JavaScript tools' modules from there when it optimizes.
WEB_ENV := NODE_PATH=/usr/share/nodejs

.PHONY: web web-run deps-web deps-web-test deps-npm web-test-deps web-sdl web-bench

deps-web:      ; $(call install,$(WEB_PKGS))
deps-web-test: ; $(call install,$(WEB_TEST_PKGS))
deps-npm:      ; $(call install,npm)

web-sdl: deps-web
	@web/sdl-source.sh $(WEB_SDL)
	@if [ "$$(cat $(WEB_SDL)/options 2>/dev/null)" != "$(WEB_SDL_OPTIONS)" ]; then \
	  echo "Configuring SDL for the browser (once; it takes a few minutes)"; \
	  rm -rf $(WEB_SDL)/build $(WEB_SDL)/install; \
	  emcmake cmake -S $(WEB_SDL)/src -B $(WEB_SDL)/build $(WEB_SDL_OPTIONS) \
	    -DCMAKE_INSTALL_PREFIX=$(CURDIR)/$(WEB_SDL)/install >$(WEB_SDL)/configure.log 2>&1 \
	    || { tail -n 30 $(WEB_SDL)/configure.log; exit 1; }; \
	  echo "$(WEB_SDL_OPTIONS)" >$(WEB_SDL)/options; \
	fi
	@env -u MAKEFLAGS -u MAKELEVEL cmake --build $(WEB_SDL)/build -j $(JOBS) >$(WEB_SDL)/build.log 2>&1 \
	  || { tail -n 30 $(WEB_SDL)/build.log; exit 1; }
	@cmake --install $(WEB_SDL)/build >/dev/null

web: web-sdl
	@mkdir -p $(WEB)
	@emcmake cmake -S . -B $(WEB)/tarksen -DCMAKE_BUILD_TYPE=Release -DTARKSEN_SANITIZE=OFF \
	  -DTARKSEN_TESTS=OFF -DSDL2_DIR=$(CURDIR)/$(WEB_SDL)/install/lib/cmake/SDL2 \
	  >$(WEB)/configure.log 2>&1 || { tail -n 30 $(WEB)/configure.log; exit 1; }
	@env -u MAKEFLAGS -u MAKELEVEL $(WEB_ENV) cmake --build $(WEB)/tarksen -j $(JOBS)
	@echo "The web version is in $(WEB_SITE); 'make web-run' serves it."

web-run: web
	@node web/serve.mjs $(WEB_SITE)

# The browser tests' driver: puppeteer-core, at the versions of the lock file.
web-test-deps: deps-web-test
	@command -v npm >/dev/null || $(MAKE) --no-print-directory deps-npm
	@cd tests/web && { [ node_modules/.package-lock.json -nt package-lock.json ] || \
	  npm ci --no-audit --no-fund --loglevel=error; }

# make bench's start-up in the browser: the bare SDL program built the same way,
# drawing nothing and drawing once; and what a browser downloads to start each page,
# through the development server.
web-bench: web web-test-deps
	@env -u MAKEFLAGS -u MAKELEVEL $(WEB_ENV) cmake --build $(WEB)/tarksen -j $(JOBS) --target bare_window bare_window_draw
	@node bench/web/download.mjs $(WEB_SITE) $(WEB)/tarksen/bare
