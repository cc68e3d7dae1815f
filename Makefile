BUILD ?= build
JOBS ?= $(shell nproc)
DEB_BUILD ?= build-deb

.PHONY: deps build run test asan bench deb clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/pellmora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPELLMORA_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	# Qt keeps some allocations until exit by design; leaks are not what this run looks for.
	cd build-asan && ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE e2e

bench:
	PELLMORA_BENCH=1 scripts/install-deps.sh
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	bench/run.sh $(BUILD)

# The Debian package: a Release build of the two programs with Debian's hardening flags in a tree
# of its own (the test tree keeps its build type), packed by CPack, then checked by lintian.
deb:
	PELLMORA_DEB=1 scripts/install-deps.sh
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all && \
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	cmake --build $(DEB_BUILD) -j $(JOBS) --target pellmora pellmora-scan
	rm -f $(DEB_BUILD)/pellmora_*.deb
	cd $(DEB_BUILD) && cpack -G DEB
	lintian --fail-on error $(DEB_BUILD)/pellmora_*.deb

clean:
	rm -rf $(BUILD) build-asan $(DEB_BUILD)
