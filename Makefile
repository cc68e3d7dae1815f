BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run test asan bench clean

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

clean:
	rm -rf $(BUILD) build-asan
