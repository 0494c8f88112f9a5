# The Windows screen saver, cross-built with MinGW-w64 and tested under Wine on a private Xvfb.
#   make windows         build/windows/morvane.scr and its setup, with their SHA-256 (installs the
#                        cross tools when missing)
#   make installer       build/windows/morvane-VERSION-setup.exe, the NSIS installer of morvane.scr
#   make icons           redraws resources/morvane.ico with tools/icons (the file is committed)
#   make test-windows    the Wine tests (one of the steps of `make test`)
# libjpeg for Windows is Debian's own libjpeg-turbo source, cross-built static once and cached
# under build/libjpeg-win64.

WINDOWS_BUILD := build/windows
# dpkg-dev (DEB_PACKAGES) unpacks the libjpeg-turbo source.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-x86-64 wine wine64 nasm nsis
WIN_JPEG_DIR := build/libjpeg-win64
WIN_JPEG_PREFIX := $(CURDIR)/$(WIN_JPEG_DIR)/install
WIN_JPEG_LIB := $(WIN_JPEG_DIR)/install/lib/libjpeg.a
# Our own sources entry: the system's own archives, source indexes only, removed after the download.
WIN_JPEG_SOURCES_ENTRY := /etc/apt/sources.list.d/morvane-src.sources

EXTRA_TEST_PACKAGES += $(WINDOWS_PACKAGES)

.PHONY: windows windows-scr windows-deps test-windows installer icons

windows-deps:
	@tools/install-packages $(WINDOWS_PACKAGES) $(CMAKE_PACKAGES) $(DEB_PACKAGES)

$(WIN_JPEG_DIR)/source/CMakeLists.txt:
	@set -e; mkdir -p $(WIN_JPEG_DIR)/download; \
	if [ "$$(id -u)" -ne 0 ]; then \
	  echo "make windows: fetching the libjpeg-turbo source needs root (an apt sources entry and apt-get update)" >&2; exit 1; \
	fi; \
	system=/etc/apt/sources.list.d/debian.sources; \
	if [ -f $$system ]; then \
	  sed -e 's/^Types:.*/Types: deb-src/' $$system > $(WIN_JPEG_SOURCES_ENTRY); \
	elif [ -f /etc/apt/sources.list ]; then \
	  grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' \
	    > $(WIN_JPEG_SOURCES_ENTRY:.sources=.list); \
	else echo "make windows: no apt sources to derive a source entry from" >&2; exit 1; fi; \
	trap 'rm -f $(WIN_JPEG_SOURCES_ENTRY) $(WIN_JPEG_SOURCES_ENTRY:.sources=.list)' EXIT; \
	apt-get update -q >/dev/null; \
	cd $(WIN_JPEG_DIR)/download && apt-get source -q libjpeg-turbo >/dev/null 2>&1 \
	  || { echo "make windows: apt-get source libjpeg-turbo failed" >&2; exit 1; }; \
	cd $(CURDIR); rm -rf $(WIN_JPEG_DIR)/source; \
	mv "$$(find $(WIN_JPEG_DIR)/download -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)" \
	  $(WIN_JPEG_DIR)/source

# The 6b API (library version 62): neither the jpeg7 nor the jpeg8 interface; SIMD through nasm.
$(WIN_JPEG_LIB): $(WIN_JPEG_DIR)/source/CMakeLists.txt cmake/mingw-w64-x86_64.cmake
	cmake -S $(WIN_JPEG_DIR)/source -B $(WIN_JPEG_DIR)/build -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_INSTALL_PREFIX=$(WIN_JPEG_PREFIX) -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
	  -DWITH_TURBOJPEG=OFF -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF -DWITH_SIMD=ON >/dev/null
	cmake --build $(WIN_JPEG_DIR)/build -j $(JOBS) --target jpeg-static >/dev/null
	@# Only the library and its four public headers are needed; the tools are not built.
	mkdir -p $(WIN_JPEG_PREFIX)/include $(WIN_JPEG_PREFIX)/lib
	cp $(WIN_JPEG_DIR)/source/jpeglib.h $(WIN_JPEG_DIR)/source/jmorecfg.h $(WIN_JPEG_DIR)/source/jerror.h \
	  $(WIN_JPEG_DIR)/build/jconfig.h $(WIN_JPEG_PREFIX)/include/
	cp $(WIN_JPEG_DIR)/build/libjpeg.a $@

$(WINDOWS_BUILD)/Makefile:
	cmake --preset windows -DMORVANE_JPEG_PREFIX=$(WIN_JPEG_PREFIX) >/dev/null

windows-scr: windows-deps $(WIN_JPEG_LIB) $(WINDOWS_BUILD)/Makefile
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The build writes CMake's project version to $(WINDOWS_BUILD)/version (short and four-number
# forms); the setup carries it and is named after it. Setups of other versions are removed.
installer: windows-scr
	@set -e; read version version4 < $(WINDOWS_BUILD)/version; \
	rm -f $(WINDOWS_BUILD)/morvane-*setup.exe; \
	echo "makensis installer/morvane.nsi (version $$version)"; \
	makensis -V2 -DVERSION=$$version -DVERSION4=$$version4 -DSAVER=$(CURDIR)/$(WINDOWS_BUILD)/morvane.scr \
	  -DOUTFILE=$(CURDIR)/$(WINDOWS_BUILD)/morvane-$$version-setup.exe installer/morvane.nsi

# What users can check a download against (README, Windows).
windows: installer
	@read version version4 < $(WINDOWS_BUILD)/version; echo "SHA-256:"; \
	sha256sum $(WINDOWS_BUILD)/morvane.scr $(WINDOWS_BUILD)/morvane-$$version-setup.exe

test-windows: windows
	@tools/install-packages $(XVFB_PACKAGES)
	MORVANE_WINDOWS_BUILD=$(CURDIR)/$(WINDOWS_BUILD) tests/windows/run-wine-tests

icons: configure
	cmake --build $(BUILD) -j $(JOBS) --target morvane-icons
	$(BUILD)/tools/icons/morvane-icons resources/morvane.ico
