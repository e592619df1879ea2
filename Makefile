# make run: installs what is missing, builds, starts the gateway on the bundled demo.
# make test: installs what is missing, builds, runs every test (normal build, then sanitizer builds), then the fuzzers for a bounded time, then builds and checks the Debian packages, then the Windows build's tests under wine.
# make deb: the Debian packages zelpd, zelp and zelp-host in build/pacotes/.
# make windows: zelpd.exe, zelp.exe, zelp-pdv.exe, zelp-estab.exe and zelp-host.exe in build/windows/bin/ (mingw-w64).
# make msi: the Windows installer build/windows/zelp-0.68-x64.msi (wixl).
.PHONY: deps run test test-debug test-asan test-tsan test-fuzz test-deb test-windows build deb windows msi fuzz bench clean

deps:
	@./scripts/instala-dependencias.sh

build: deps
	cmake --preset release
	cmake --build --preset release --target zelpd zelp zelp-host zelp-pdv zelp-estab

run: build
	./scripts/demo.sh

deb: deps
	cmake --preset deb
	cmake --build --preset deb
	cpack --preset deb

windows: deps
	cmake --preset windows
	cmake --build --preset windows --target zelpd zelp zelp-pdv zelp-estab zelp-host

msi: deps
	cmake --preset windows
	cmake --build --preset windows --target msi

test-debug: deps
	cmake --preset debug
	cmake --build --preset debug
	ctest --preset debug

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --preset tsan

# Each fuzz target for a bounded time on a copy of its seeds; any finding fails the run.
test-fuzz: deps
	FUZZ_SEGUNDOS=$${FUZZ_SEGUNDOS:-60} ./scripts/fuzz.sh

# lintian, contents, the unit, the log retention and one sale through the extracted package.
test-deb: deb
	./tests/pacote/verifica-pacotes.sh

# The Windows build's tests, run under wine in a prefix of the build folder; zelpd.exe end to end is
# driven by a program of the Linux debug build, beside that build's zelpd (built here when missing).
test-windows: deps
	cmake --preset debug
	cmake --build --preset debug --target test_wine
	cmake --preset windows-debug
	cmake --build --preset windows-debug
	ctest --preset windows-debug

test: test-debug test-asan test-tsan test-fuzz test-deb test-windows

fuzz: deps
	./scripts/fuzz.sh

bench: deps
	cmake --preset bench
	cmake --build --preset bench
	./scripts/bench.sh

clean:
	rm -rf build
