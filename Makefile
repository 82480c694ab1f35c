# Convenience front end for the CMake presets.
.PHONY: deps build test test-default test-asan bench demo clean format

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

test-default: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default
	@ctest --preset default

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

test: test-default test-asan

bench: build
	@bash bench/run.sh build/default

format:
	@git ls-files '*.cc' '*.h' | xargs clang-format -i

clean:
	@rm -rf build
