# Thin wrapper over CMake. `make run` builds and starts Tagwerk, `make test`
# builds with the sanitizers and runs every test, `make package` builds the
# Debian package in build/release. All install missing Debian packages first.
JOBS ?= $(shell nproc)
RELEASE := build/release
TEST := build/test
BENCH := build/bench

.PHONY: run build test bench package screenshots format deps clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAGWERK_TESTS=OFF -DTAGWERK_BENCH=OFF
	cmake --build $(RELEASE) -j $(JOBS)

run: build
	$(RELEASE)/app/tagwerk

test: deps
	cmake -S . -B $(TEST) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAGWERK_SANITIZE=ON -DTAGWERK_BENCH=OFF
	cmake --build $(TEST) -j $(JOBS)
	cd $(TEST) && ctest --output-on-failure -j $(JOBS)

bench:
	@scripts/install-deps bench
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAGWERK_TESTS=OFF
	cmake --build $(BENCH) -j $(JOBS)
	scripts/run-benchmarks $(BENCH)

package: build
	cd $(RELEASE) && cpack -G DEB

# Pictures of every window, drawn off screen, in build/test/screenshots.
screenshots: deps
	cmake -S . -B $(TEST) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAGWERK_SANITIZE=ON -DTAGWERK_BENCH=OFF
	cmake --build $(TEST) -j $(JOBS) --target tst_Screenshots
	cd $(TEST) && QT_QPA_PLATFORM=offscreen tests/tst_Screenshots

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
