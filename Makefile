# Velumbar: make demo | make test | make bench
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages the build and the tests need.
PACKAGES := cmake g++ make pkg-config liblua5.1-0-dev lua5.1 libpng-dev zlib1g-dev \
            libjpeg-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra fonts-liberation \
            googletest libgtest-dev libgmock-dev libbenchmark-dev libxml2-dev libexpat1-dev

.PHONY: all deps configure build demo test bench clean

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

bench: build
	@for b in $(BUILD)/bin/bench_*; do \
	  echo "== $$(basename $$b)"; $$b --benchmark_format=console || exit 1; \
	done

clean:
	rm -rf $(BUILD) gallery.png
