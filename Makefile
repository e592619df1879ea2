# make run: installs what is missing, builds, starts the gateway on the bundled demo.
# make test: installs what is missing, builds, runs every test (normal build, then sanitizer builds).
.PHONY: deps run test test-debug test-asan test-tsan build fuzz bench clean

deps:
	@./scripts/instala-dependencias.sh

build: deps
	cmake --preset release
	cmake --build --preset release --target zelpd zelp zelp-host zelp-pdv zelp-estab

run: build
	./scripts/demo.sh

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

test: test-debug test-asan test-tsan

fuzz: deps
	./scripts/fuzz.sh

bench: deps
	cmake --preset bench
	cmake --build --preset bench
	./scripts/bench.sh

clean:
	rm -rf build
