# Thin wrapper over CMake. `make run` builds and starts Tagwerk, `make test`
# builds with the sanitizers and runs every test, then builds a release with
# Clang and runs every test there too, `make package` builds the Debian
# package in build/release. All install missing Debian packages first.
# Only the tests turn warnings into errors.
JOBS ?= $(shell nproc)
RELEASE := build/release
TEST := build/test
CLANG := build/test-clang
BENCH := build/bench
SANITIZED := -DCMAKE_BUILD_TYPE=Debug -DTAGWERK_SANITIZE=ON -DTAGWERK_BENCH=OFF -DTAGWERK_WERROR=ON

.PHONY: run build test test-sanitized test-clang bench package screenshots format deps clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAGWERK_TESTS=OFF -DTAGWERK_BENCH=OFF
	cmake --build $(RELEASE) -j $(JOBS)

run: build
	$(RELEASE)/app/tagwerk

test: test-sanitized test-clang

test-sanitized: deps
	cmake -S . -B $(TEST) -G Ninja $(SANITIZED)
	cmake --build $(TEST) -j $(JOBS)
	cd $(TEST) && ctest --output-on-failure -j $(JOBS)

# The second compiler, in the configuration users build, with the
# benchmarks, so that all the code is held to its warnings too.
test-clang: deps
	cmake -S . -B $(CLANG) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release \
		-DTAGWERK_BENCH=ON -DTAGWERK_WERROR=ON
	cmake --build $(CLANG) -j $(JOBS)
	cd $(CLANG) && ctest --output-on-failure -j $(JOBS)

bench:
	@scripts/install-deps bench
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAGWERK_TESTS=OFF -DTAGWERK_BENCH=ON
	cmake --build $(BENCH) -j $(JOBS)
	scripts/run-benchmarks $(BENCH)

package: build
	cd $(RELEASE) && cpack -G DEB

# Pictures of every window, drawn off screen, in build/test/screenshots.
screenshots: deps
	cmake -S . -B $(TEST) -G Ninja $(SANITIZED)
	cmake --build $(TEST) -j $(JOBS) --target tst_Screenshots
	cd $(TEST) && QT_QPA_PLATFORM=offscreen tests/tst_Screenshots

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
