# Thin wrapper over the CMake presets. Every target installs what is missing first.
.PHONY: deps build run scores test test-asan bench release install format clean

deps:
	bash scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	./build/silkguard

scores: build
	./build/silkguard-scores --port 8642 --db scores.db

test: build
	ctest --preset default

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: build
	bash scripts/run-benchmarks

# The build a packager makes: plain Release, the distribution's flags, no preset.
release: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release

PREFIX ?= /usr/local
install: build
	cmake --install build --prefix $(PREFIX)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-release
