# Velumbar: make demo | make test | make windows | make bench
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages, by what needs them. Each target installs its own lists
# and no more (as root), or prints the one apt-get line it needs.
# Stand-in build and host, enough to draw the gallery:
BASE_PACKAGES := cmake g++ make pkg-config liblua5.1-0-dev lua5.1 libpng-dev zlib1g-dev \
                 libjpeg-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra fonts-liberation
TEST_PACKAGES := googletest libgtest-dev libgmock-dev libxml2-dev
BENCH_PACKAGES := libbenchmark-dev libpixman-1-dev libcairo2-dev
# The help file: cmark-gfm renders the pages, chmcmd (fp-utils; without
# recommends, which would add the Pascal compiler) compiles them, libchm-bin
# reads the result back.
HELP_PACKAGES := cmark-gfm fp-utils libchm-bin
WINDOWS_BUILD_PACKAGES := mingw-w64 libz-mingw-w64-dev dpkg-dev
# Wine 10 runs in a Debian 13 root made by debootstrap, through bubblewrap.
WINDOWS_TEST_PACKAGES := debootstrap bubblewrap
# The raster code built as the 32-bit DLL's is, run through qemu's user mode.
RASTER32_PACKAGES := g++-multilib qemu-user
PROFILE_PACKAGES := valgrind
SOAK_PACKAGES := heaptrack
FUZZ_PACKAGES := clang libclang-rt-dev

# What the target being made needs, and how its Linux build is configured;
# a target sets both and its prerequisites (deps, configure, build) follow.
NEEDS := $(BASE_PACKAGES) $(TEST_PACKAGES) $(BENCH_PACKAGES)
CMAKE_OPTIONS := -DVELUMBAR_TESTS=ON -DVELUMBAR_BENCH=ON
ALL_TESTS := $(BASE_PACKAGES) $(TEST_PACKAGES) $(BENCH_PACKAGES) $(HELP_PACKAGES) \
             $(WINDOWS_BUILD_PACKAGES) $(WINDOWS_TEST_PACKAGES) $(RASTER32_PACKAGES)
NO_TESTS := -DVELUMBAR_TESTS=OFF -DVELUMBAR_BENCH=OFF
demo: NEEDS := $(BASE_PACKAGES)
demo: CMAKE_OPTIONS := $(NO_TESTS)
test: NEEDS := $(ALL_TESTS)
windows: NEEDS += $(WINDOWS_BUILD_PACKAGES)
windows-test: NEEDS := $(ALL_TESTS)
test-32bit: NEEDS := $(BASE_PACKAGES) $(TEST_PACKAGES) $(RASTER32_PACKAGES)
bench: NEEDS := $(BASE_PACKAGES) $(BENCH_PACKAGES)
bench: CMAKE_OPTIONS := -DVELUMBAR_TESTS=OFF -DVELUMBAR_BENCH=ON
profile: NEEDS := $(BASE_PACKAGES) $(PROFILE_PACKAGES)
profile: CMAKE_OPTIONS := $(NO_TESTS)
soak: NEEDS := $(BASE_PACKAGES) $(SOAK_PACKAGES)
soak: CMAKE_OPTIONS := $(NO_TESTS)
fuzz: NEEDS := $(BASE_PACKAGES) $(FUZZ_PACKAGES)
test-sanitize: NEEDS := $(BASE_PACKAGES) $(TEST_PACKAGES)
dist: NEEDS := $(BASE_PACKAGES) $(HELP_PACKAGES) $(WINDOWS_BUILD_PACKAGES)
dist: CMAKE_OPTIONS := $(NO_TESTS) -DVELUMBAR_DIST_DLL=$(abspath $(BUILD))/windows/i686/bin/Velumbar.lmd

# The Windows builds, their dependencies (built once from Debian's source
# packages and cached here) and their Wine prefixes live under one folder.
WIN_BUILD := $(abspath $(BUILD))/windows
WIN_ARCHES := i686 x86_64
# Wine 10 in a Debian 13 root (cmake/wine-root.sh), kept outside the clone
# so fresh clones reuse it; made again only when its recipe changes.
WINE_CACHE ?= /var/cache/velumbar

.PHONY: all deps configure build demo test test-32bit windows windows-test dist bench profile clean fuzz soak test-sanitize

all: build

deps:
	@missing=""; for p in $(sort $(NEEDS)); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Missing packages. Run: sudo apt-get install -y --no-install-recommends$$missing"; exit 1; \
	  fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_OPTIONS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/bin/velumbar-host --out . examples/gallery.lua
	@echo "Wrote gallery.png"

# The package's own check belongs to make dist, which makes the package.
test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE dist
	$(MAKE) --no-print-directory test-32bit
	@if command -v bwrap >/dev/null && command -v x86_64-w64-mingw32-g++ >/dev/null; then \
	  start=$$(date +%s); \
	  $(MAKE) --no-print-directory windows-test || exit 1; \
	  echo "Windows part of the tests (dependencies, Wine root, builds, Wine runs): $$(( $$(date +%s) - start )) s"; \
	else echo "bubblewrap or mingw-w64 missing: the Windows tests did not run"; fi

# The raster code's unit tests built with the 32-bit DLL's flags as a 32-bit
# Linux program, run through qemu-i386 where the machine runs no 32-bit
# programs itself (Wine cannot start the i686 build everywhere).
test-32bit: deps
	cmake -S tests/raster32 -B $(BUILD)/raster32 -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null
	cmake --build $(BUILD)/raster32 -j$(JOBS)
	cd $(BUILD)/raster32 && ctest --output-on-failure

# The cross builds use tools built for this machine by the Linux build.
windows: build
	JOBS=$(JOBS) cmake/windows-deps.sh $(WIN_BUILD)/deps $(WIN_ARCHES)
	@for arch in $(WIN_ARCHES); do \
	  cmake -S . -B $(WIN_BUILD)/$$arch -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-$$arch.cmake \
	    -DVELUMBAR_DEPS_PREFIX=$(WIN_BUILD)/deps/$$arch/prefix \
	    -DVELUMBAR_JC_EXECUTABLE=$(abspath $(BUILD))/bin/velumbar-jc \
	    -DVELUMBAR_GEN_ACTION_DOCUMENT=$(abspath $(BUILD))/bin/gen_action_document \
	    -DVELUMBAR_LINUX_BIN=$(abspath $(BUILD))/bin >/dev/null && \
	  cmake --build $(WIN_BUILD)/$$arch -j$(JOBS) || exit 1; \
	done

# Every Windows test of both builds under Wine 10, the two side by side,
# each in its own prefix.
windows-test: windows
	@start=$$(date +%s); root=$$(cmake/wine-root.sh $(WINE_CACHE)) || exit 1; \
	echo "Wine root $$root ready in $$(( $$(date +%s) - start )) s"; \
	for arch in $(WIN_ARCHES); do \
	  cmake -B $(WIN_BUILD)/$$arch -DVELUMBAR_WINE_ROOT=$$root >/dev/null || exit 1; \
	  cmake --build $(WIN_BUILD)/$$arch -j$(JOBS) || exit 1; \
	done; \
	pids=""; for arch in $(WIN_ARCHES); do \
	  (cd $(WIN_BUILD)/$$arch && ctest --output-on-failure -j$(JOBS) > ctest.log 2>&1; \
	   status=$$?; sed "s/^/$$arch: /" ctest.log; \
	   if [ -f wine-cannot-start ]; then sed "s/^/$$arch: /" wine-cannot-start; fi; \
	   exit $$status) & pids="$$pids $$!"; \
	done; \
	failed=0; for pid in $$pids; do wait $$pid || failed=1; done; \
	echo "Wine runs of both builds: $$(( $$(date +%s) - start )) s"; exit $$failed

# The release: build/dist/Velumbar-<version>/ and its zip, from the i686
# plug-in (only that target of the i686 build) and the help compiled by the
# Linux build; then the help file and the package are checked.
dist: build
	JOBS=$(JOBS) cmake/windows-deps.sh $(WIN_BUILD)/deps i686
	cmake -S . -B $(WIN_BUILD)/i686 -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake \
	  -DVELUMBAR_DEPS_PREFIX=$(WIN_BUILD)/deps/i686/prefix \
	  -DVELUMBAR_JC_EXECUTABLE=$(abspath $(BUILD))/bin/velumbar-jc \
	  -DVELUMBAR_GEN_ACTION_DOCUMENT=$(abspath $(BUILD))/bin/gen_action_document \
	  -DVELUMBAR_LINUX_BIN=$(abspath $(BUILD))/bin >/dev/null
	cmake --build $(WIN_BUILD)/i686 -j$(JOBS) --target Velumbar
	cmake --build $(BUILD) --target dist
	cd $(BUILD) && ctest --output-on-failure -L 'help|dist'

# One table: each workload beside its peer, measured in one run.
bench: build
	cd $(BUILD) && bin/bench_peers

# Instruction counts of 10,000 position updates through the stand-in host.
profile: build
	rm -rf $(BUILD)/profile && mkdir -p $(BUILD)/profile
	valgrind --tool=callgrind --callgrind-out-file=$(BUILD)/profile/callgrind.out \
	  $(BUILD)/bin/velumbar-host --out $(BUILD)/profile bench/profile_updates.lua 2>$(BUILD)/profile/valgrind.log
	@grep -m1 "Collected" $(BUILD)/profile/valgrind.log
	@callgrind_annotate --inclusive=no $(BUILD)/profile/callgrind.out 2>/dev/null | sed -n '/PROGRAM TOTALS/,+0p;/file:function/,+22p'

# The whole suite built with AddressSanitizer and UBSan (the sanitize preset).
test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize -j$(JOBS)
	cd build-sanitize && ctest --output-on-failure -j$(JOBS)

# Each fuzz target for FUZZ_TIME seconds, one after another, with libFuzzer,
# ASan and UBSan from Debian's clang. The corpus grows in $(FUZZ_BUILD)/corpus;
# a crash stops the run, its input in $(FUZZ_BUILD)/artifacts. Keep each
# crash input, once mended, in fuzz/crashes/<target>/: make test replays it.
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME ?= 120
FUZZ_TARGETS ?= fuzz_bmp fuzz_bmp_rle fuzz_ico fuzz_pe fuzz_image_data fuzz_load_image fuzz_unpack
FUZZ_FLAGS ?= -timeout=20 -rss_limit_mb=2048 -malloc_limit_mb=512 -print_final_stats=1

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVELUMBAR_FUZZ=ON -DVELUMBAR_TESTS=OFF -DVELUMBAR_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_seeds $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
	  echo "== $$t for $(FUZZ_TIME) s"; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/artifacts/$$t fuzz/crashes/$$t; \
	  $(FUZZ_BUILD)/bin/$$t $(FUZZ_FLAGS) -max_total_time=$(FUZZ_TIME) \
	    -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t/ $(FUZZ_BUILD)/corpus/$$t \
	    $(FUZZ_BUILD)/fuzz-seeds/$$t fuzz/crashes/$$t || exit 1; \
	done

# 10,000 cycles of a bar's life with the plug-in, and the same host-side
# work without it: resident memory at 1,000, 5,000 and 10,000 cycles. Then
# the heap the plug-in itself still holds after 1,000 and after all cycles
# (heaptrack): its growth must be zero.
SOAK_CYCLES ?= 10000
HOST_RUN = $(BUILD)/bin/velumbar-host --plugin $(BUILD)/bin/Velumbar.lmd --out $(BUILD)/soak tests/soak/soak.lua
soak: build
	@mkdir -p $(BUILD)/soak
	@for mode in plugin host; do \
	  $(HOST_RUN) $(SOAK_CYCLES) $$mode > $(BUILD)/soak/$$mode.txt || exit 1; \
	  cat $(BUILD)/soak/$$mode.txt; \
	done
	@awk '/cycles 1000:/ { first[$$1] = $$5 } { last[$$1] = $$5 } \
	  END { p = last["plugin"] - first["plugin"]; h = last["host"] - first["host"]; \
	        printf "resident growth after 1,000 cycles: with plug-in %d KB, host alone %d KB\n", p, h }' \
	  $(BUILD)/soak/plugin.txt $(BUILD)/soak/host.txt
	@for n in 1000 $(SOAK_CYCLES); do \
	  heaptrack -o $(BUILD)/soak/heap-$$n $(HOST_RUN) $$n plugin > /dev/null 2>&1 || exit 1; \
	  heaptrack_print -l 1 $(BUILD)/soak/heap-$$n.zst > $(BUILD)/soak/heap-$$n.txt 2>/dev/null; \
	  awk -f tests/soak/plugin_retained.awk $(BUILD)/soak/heap-$$n.txt > $(BUILD)/soak/held-$$n.txt; \
	done
	@first=$$(cat $(BUILD)/soak/held-1000.txt); last=$$(cat $(BUILD)/soak/held-$(SOAK_CYCLES).txt); \
	  echo "plug-in heap held at exit: $$first bytes after 1,000 cycles, $$last after $(SOAK_CYCLES); growth $$((last - first))"; \
	  test $$last -le $$first

clean:
	rm -rf $(BUILD) gallery.png
