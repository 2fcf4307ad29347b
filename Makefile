# The one entry point: make build | make test | make demo | make release
SHELL := /bin/bash
.DEFAULT_GOAL := build
PRESETS := native x64 x86

.PHONY: setup build release test test-native test-windows test-replay test-x86 test-fuzz fuzz bench soak demo clean

setup:
	@scripts/setup

build/%/build.ninja:
	cmake --preset $* >/dev/null

build: setup $(foreach p,$(PRESETS),build/$(p)/build.ninja)
	@for p in $(PRESETS); do cmake --build --preset $$p || exit 1; done
	@mkdir -p dist
	cp build/x86/launcher-x86.exe build/x64/launcher-x64.exe dist/
	cp build/x86/launcher-x86-console.exe build/x64/launcher-x64-console.exe dist/
	cp build/x86/packager-x86.exe build/x64/packager-x64.exe dist/
	@# The test runtime, a stand-in for Java used by the tests and the demo.
	rm -rf dist/test-runtime dist/test-runtime-x86
	cp -r build/x64/test-runtime dist/test-runtime
	cp -r build/x86/test-runtime dist/test-runtime-x86

# dist/java-launcher-<version>-windows.zip: the products, docs and SHA256SUMS.
release: build
	scripts/release dist

test: build test-native test-windows test-x86 test-replay test-fuzz

test-native:
	ctest --preset native

# The 32-bit build's tests run under 32-bit Wine. Where the kernel does not
# execute 32-bit code, Wine runs in emulation and takes about a minute to
# start each 32-bit process: the build then runs its in-process tests and
# the end-to-end tests of what differs between the machines (the JNI calls,
# the Java thread's stack, the hand-over to the 64-bit paired product). A
# 32-bit program that starts another one hangs in emulation: the relay
# between two copies of the 32-bit launcher is left out. The emulator
# itself crashes when several threads of a 32-bit process end at once: the
# thread set's tests run on the 64-bit build only there, and since the
# emulator also ends other test programs at random, a failed one gets one
# more run there (a real fault fails both; natively there is no second run).
X86_EMULATED_E2E := LaunchSpine.ArgumentsDoNotChange*:JavaLaunch.TheTypicalLaunch*:JavaLaunch.TheJavaThread*:RuntimeSelection.ThePairedProductRuns*
X86_EMULATED_WINDOWS := -ThreadSlots.*

# What depends on the process's code page runs once more under 1251, whose
# locale is compiled into the build (Wine needs it to read non-ASCII names).
CODE_PAGE_E2E := JavaLaunch.AFolderBeyond*:JavaLaunch.AUtf8*:ExceptionDialog.ShowsTheTrace*:SingleInstance.SecondaryArguments*:Packaging.WritesThe*
CYRILLIC := LOCPATH=$(CURDIR)/build/locale WINE_SESSION_LOCALE=ru_RU.UTF-8 GTEST_FILTER="$(CODE_PAGE_E2E)"

build/locale/ru_RU.UTF-8:
	mkdir -p build/locale && localedef -i ru_RU -f UTF-8 $@

test-x86: build/locale/ru_RU.UTF-8
	scripts/wine-session bash -c 'if [[ $$WINE_SESSION_X86 == native ]]; then ctest --preset x86 -j2; else \
	  GTEST_FILTER="$(X86_EMULATED_WINDOWS)" ctest --preset x86 -j2 -E "e2e_tests|test_runtime_tests" --repeat until-pass:2 && \
	  GTEST_FILTER="$(X86_EMULATED_E2E)" ctest --preset x86 -R e2e_tests --repeat until-pass:2; fi'
	$(CYRILLIC) scripts/wine-session bash -c '[[ $$WINE_SESSION_X86 != native ]] || ctest --preset x86 -R e2e_tests'

test-windows: build/locale/ru_RU.UTF-8
	rm -rf build/x64/vm-option-lists
	scripts/wine-session ctest --preset x64 -j2
	$(CYRILLIC) scripts/wine-session ctest --preset x64 -R e2e_tests

# Every VM option list of the end-to-end tests against each real JVM here:
# they must accept and reject what the test runtime did.
test-replay:
	ASAN_OPTIONS=handle_segv=0:allow_user_segv_handler=1:detect_leaks=0 build/native/jvm_replay build/x64/vm-option-lists

# Every fuzz target briefly (make test), or for FUZZ_SECONDS each (make fuzz).
test-fuzz: build/fuzz/build.ninja
	cmake --build --preset fuzz
	FUZZ_SECONDS=5 scripts/fuzz

fuzz: setup build/fuzz/build.ninja
	cmake --build --preset fuzz
	scripts/fuzz

# Launch timings, sizes and memory under Wine: build/bench/results.md.
bench: build
	scripts/bench

# Thirty later launches of a single-instance application at once, while the
# first instance starts and while it is stalled, ten times in a row.
soak: build
	scripts/wine-session scripts/soak

demo: build
	scripts/wine-session scripts/demo

clean:
	rm -rf build dist
