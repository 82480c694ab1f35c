# Convenience front end for the CMake presets.
.PHONY: deps deps-office build test test-default test-asan bench demo package test-package check-format clean format \
  windows test-windows test-win32

# WERROR=ON turns compiler warnings into errors (CI builds).
WERROR ?= OFF

deps:
	@bash scripts/install-deps.sh

# The tests also render letters with LibreOffice; with it installed, a missing tool is a failure.
deps-office:
	@bash scripts/install-deps.sh office

build: deps
	@cmake --preset default -DLASTORA_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset default

test-default: deps deps-office
	@cmake --preset default -DLASTORA_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset default
	@LASTORA_REQUIRE_OFFICE=1 ctest --preset default

test-asan: deps deps-office
	@cmake --preset asan -DLASTORA_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset asan
	@LASTORA_REQUIRE_OFFICE=1 ctest --preset asan

test: test-default test-asan

# The sample club from member list to checked SEPA files, with a fixed clock so the files and
# the output are the same on every machine.
demo: deps
	@cmake --preset default -DLASTORA_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset default --target lastora_program
	@build/default/src/cli/lastora --yes --now "2026-03-02 09:30:00" demo build/lastora-demo

# The Debian package: program, libraries, headers, CMake package, manual page and schemas.
package: deps
	@cmake --preset release -DLASTORA_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset release
	@cd build/release && cpack

# Installs the library into a scratch prefix and builds a consumer and the program against it.
test-package: deps
	@LASTORA_WERROR=$(WERROR) bash scripts/test-package.sh

check-format:
	@bash scripts/check-format.sh

# The Windows program folders dist/Lastora-win64 and dist/Lastora-win32, each also as a .zip.
windows:
	@bash scripts/package-windows.sh

# The Windows build's tests under Wine: 64-bit only, or both bitnesses.
test-windows:
	@bash scripts/test-windows.sh x64

test-win32:
	@bash scripts/test-windows.sh x64 x86

bench: build
	@bash bench/run.sh build/default

format:
	@git ls-files '*.cc' '*.h' | xargs clang-format -i

clean:
	@rm -rf build
