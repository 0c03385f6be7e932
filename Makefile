# Velumbar: make demo | make test | make bench
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages the build and the tests need.
PACKAGES := cmake g++ make pkg-config liblua5.1-0-dev lua5.1 libpng-dev zlib1g-dev \
            libjpeg-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra fonts-liberation \
            googletest libgtest-dev libgmock-dev libbenchmark-dev libxml2-dev libexpat1-dev \
            libpixman-1-dev libcairo2-dev valgrind

.PHONY: all deps configure build demo test bench profile clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Run: sudo apt-get install -y$$missing"; exit 1; \
	  fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/bin/velumbar-host --out . examples/gallery.lua
	@echo "Wrote gallery.png"

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

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

clean:
	rm -rf $(BUILD) gallery.png
