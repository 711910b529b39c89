#!/usr/bin/env python3
"""Tests of tools/device-sim: the protocol it speaks, its memory files, pacing
and fault injection, driven from the slave side of its pty as the flasher
would drive it."""

import json
import os
import select
import signal
import subprocess
import sys
import tempfile
import termios
import time
import tty
import unittest

SIM = os.path.join(os.path.dirname(os.path.realpath(__file__)), "..", "..", "tools", "device-sim")
ACK = b"\r"


class Sim:
    """One simulator process and the host's end of its line."""

    def __init__(self, *args):
        self.dir = tempfile.TemporaryDirectory()
        ready = os.path.join(self.dir.name, "ready")
        self.log_path = os.path.join(self.dir.name, "log")
        self.options_path = os.path.join(self.dir.name, "options")
        self.proc = subprocess.Popen(
            [sys.executable, SIM, "--ready-file", ready, "--out-dir", self.dir.name, "--log", self.log_path,
             "--options-file", self.options_path] + list(args), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.fd = None
        try:
            deadline = time.monotonic() + 10
            while not os.path.exists(ready):
                if self.proc.poll() is not None:
                    raise RuntimeError("simulator ended: " + self.proc.stderr.read().decode())
                if time.monotonic() > deadline:
                    raise RuntimeError("simulator did not start")
                time.sleep(0.01)
            with open(ready) as f:
                self.pty = f.read().strip()
            self.fd = os.open(self.pty, os.O_RDWR | os.O_NOCTTY)
            tty.setraw(self.fd)
        except BaseException:
            self.cleanup()
            raise

    def close(self):
        os.close(self.fd)
        self.fd = None
        if self.proc.poll() is None:
            self.proc.terminate()
        try:
            status = self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            status = self.proc.wait()
        self.proc.stderr.close()
        return status

    def cleanup(self):
        # A simulator left running would outlive the test run and keep its
        # output pipe open.
        try:
            if self.fd is not None:
                self.close()
        finally:
            if self.proc.poll() is None:
                self.proc.kill()
                self.proc.wait()
            self.dir.cleanup()

    def send(self, data):
        os.write(self.fd, data)

    def reopen(self, options=None):
        """Closes the host's end and opens it again, with new device options
        when given (--options-file)."""
        def hosts(state):
            return sum(1 for e in self.log() if e.get("state") == state)

        closed, opened = hosts("closed"), hosts("open")
        os.close(self.fd)
        self.fd = None
        self.log(until=lambda e: hosts("closed") > closed)
        if options is not None:
            with open(self.options_path, "w") as f:
                f.write(options)
        self.fd = os.open(self.pty, os.O_RDWR | os.O_NOCTTY)
        tty.setraw(self.fd)
        # Bytes sent before the simulator has seen the opening would still
        # belong to the command under way.
        self.log(until=lambda e: hosts("open") > opened)

    def recv(self, count, timeout=2.0):
        data = b""
        deadline = time.monotonic() + timeout
        while len(data) < count:
            left = deadline - time.monotonic()
            if left <= 0:
                break
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                data += os.read(self.fd, count - len(data))
        return data

    def silent(self, timeout=0.3):
        """True when nothing comes for the given time."""
        return self.recv(1, timeout) == b""

    def ask(self, data, count):
        self.send(data)
        return self.recv(count)

    def memory(self, name):
        with open(os.path.join(self.dir.name, name), "rb") as f:
            return f.read()

    def dumps(self):
        try:
            with open(os.path.join(self.dir.name, "dump-seq")) as f:
                return int(f.read())
        except FileNotFoundError:
            return 0

    def wait_dump(self, before, timeout=5.0):
        deadline = time.monotonic() + timeout
        while self.dumps() <= before:
            if time.monotonic() > deadline:
                raise AssertionError("no memory files written")
            time.sleep(0.005)

    def log(self, until=None, timeout=5.0):
        """The log's entries; with until, waits for an entry it accepts (the
        simulator writes an entry after its reply has gone out)."""
        deadline = time.monotonic() + timeout
        while True:
            with open(self.log_path) as f:
                entries = [json.loads(line) for line in f if line.endswith("\n")]
            if until is None or any(until(e) for e in entries) or time.monotonic() > deadline:
                return entries
            time.sleep(0.005)


def checksum(data):
    return bytes([sum(data) & 0xFF])


def pattern(length, seed=1):
    return bytes((i * 7 + seed + i // 251) & 0xFF for i in range(length))


class SimTestCase(unittest.TestCase):
    def start(self, *args):
        sim = Sim(*args)
        self.addCleanup(sim.cleanup)
        return sim


class IdentificationTest(SimTestCase):
    def test_classic_reply(self):
        sim = self.start("--preset", "m1284p")
        # Echo, ID $1E9705, 128 words a page, flash end ($20000 - $2000) / 2 = $F000 words.
        self.assertEqual(b"I\x1e\x97\x05\x80\x00\xf0", sim.ask(b"I", 7))
        self.assertTrue(sim.silent(0.1))

    def test_classic_flash_end_keeps_its_low_16_bits(self):
        sim = self.start("--preset", "m2560")
        # ($40000 - $2000) / 2 = $1F000 words: the device reports $F000.
        self.assertEqual(b"I\x1e\x98\x01\x80\x00\xf0", sim.ask(b"I", 7))

    def test_xmega_reply(self):
        sim = self.start("--preset", "x128a1")
        # Echo, ID $1E974C, 512-byte blocks, flash end $10000 words in 3 bytes.
        self.assertEqual(b"I\x1e\x97\x4c\x00\x02\x00\x00\x01", sim.ask(b"I", 9))

    def test_configured_values(self):
        sim = self.start("--family", "xmega", "--device-id", "ABCDEF", "--page-size", "256",
                         "--flash-end", "0x12345", "--loader-id", "0x0A0B")
        self.assertEqual(b"I\xab\xcd\xef\x00\x01\x45\x23\x01", sim.ask(b"I", 9))
        self.assertEqual(b"\x0b\x0a", sim.ask(b"i", 2))

    def test_unknown_command(self):
        sim = self.start("--strict")
        self.assertEqual(b"?", sim.ask(b"Z", 1))
        self.assertEqual(b"I", sim.ask(b"I", 7)[:1])
        self.assertEqual(3, sim.close())

    def test_clean_run_ends_with_status_0(self):
        sim = self.start("--strict")
        sim.ask(b"I", 7)
        self.assertEqual(0, sim.close())


class ClassicWriteTest(SimTestCase):
    def write_page(self, sim, byte_address, data, address_bytes=2):
        word = byte_address >> 1
        address = bytes([word & 0xFF, (word >> 8) & 0xFF] + ([word >> 16] if address_bytes == 3 else []))
        self.assertEqual(ACK, sim.ask(b"A" + address, 1))
        self.assertEqual(ACK, sim.ask(b"E", 1))
        self.assertEqual(checksum(data), sim.ask(b"D" + data, 1))
        self.assertEqual(ACK, sim.ask(b"P", 1))

    def test_pages_land_at_their_addresses(self):
        sim = self.start("--preset", "m328p")
        one, two = pattern(128, 1), pattern(128, 2)
        self.write_page(sim, 0x0000, one)
        self.write_page(sim, 0x1F80, two)
        before = sim.dumps()
        sim.send(b"X")
        sim.wait_dump(before)
        flash = sim.memory("flash.bin")
        self.assertEqual(0x8000, len(flash))
        self.assertEqual(one, flash[:128])
        self.assertEqual(two, flash[0x1F80:0x2000])
        self.assertEqual(b"\xff" * (0x8000 - 0x2000), flash[0x2000:])
        self.assertEqual(b"\xff" * (0x1F80 - 128), flash[128:0x1F80])

    def test_wide_flash_takes_three_address_bytes(self):
        sim = self.start("--preset", "m2560")
        data = pattern(256, 5)
        self.write_page(sim, 0x30000, data, address_bytes=3)
        sim.send(b"X")
        sim.wait_dump(0)
        self.assertEqual(data, sim.memory("flash.bin")[0x30000:0x30100])
        args = [e["args"] for e in sim.log() if e.get("cmd") == "A"]
        self.assertEqual("008001", args[0]["raw"])

    def test_erase_clears_the_page_of_the_address(self):
        sim = self.start("--preset", "m328p")
        self.write_page(sim, 0x100, pattern(128))
        self.assertEqual(ACK, sim.ask(b"A\x80\x00", 1))  # word $80: byte $100
        self.assertEqual(ACK, sim.ask(b"E", 1))
        sim.send(b"X")
        sim.wait_dump(0)
        self.assertEqual(b"\xff" * 128, sim.memory("flash.bin")[0x100:0x180])

    def test_data_beyond_the_flash_end_is_refused(self):
        sim = self.start("--preset", "m328p", "--strict")
        # $7800 is the first byte of the boot section.
        self.write_page(sim, 0x7800, pattern(128))
        sim.send(b"X")
        sim.wait_dump(0)
        self.assertEqual(b"\xff" * 0x800, sim.memory("flash.bin")[0x7800:])
        self.assertEqual(3, sim.close())

    def test_eeprom_bytes(self):
        sim = self.start("--preset", "m328p")
        for address, value in ((0, 0x11), (1, 0x22), (0x3FF, 0x33)):
            self.assertEqual(ACK, sim.ask(bytes([ord("B"), address & 0xFF, address >> 8, value]), 1))
        sim.send(b"X")
        sim.wait_dump(0)
        eeprom = sim.memory("eeprom.bin")
        self.assertEqual(0x400, len(eeprom))
        self.assertEqual(b"\x11\x22", eeprom[:2])
        self.assertEqual(b"\x33", eeprom[0x3FF:])
        self.assertEqual(b"\xff" * (0x3FF - 2), eeprom[2:0x3FF])
        self.assertFalse(os.path.exists(os.path.join(sim.dir.name, "userrow.bin")))

    def test_data_block_size_can_differ_from_the_page(self):
        sim = self.start("--preset", "m328p", "--data-block", "64")
        self.assertEqual(ACK, sim.ask(b"A\x00\x00", 1))
        data = pattern(64)
        self.assertEqual(checksum(data), sim.ask(b"D" + data, 1))
        self.assertEqual(ACK, sim.ask(b"P", 1))


class XmegaWriteTest(SimTestCase):
    def address(self, value):
        return b"A" + value.to_bytes(3, "little")

    def block(self, command, data):
        return command + len(data).to_bytes(2, "little") + data

    def test_flash_eeprom_and_user_row(self):
        sim = self.start("--preset", "x128a1")
        self.assertEqual(ACK, sim.ask(b"E", 1))
        flash = pattern(512, 3)
        self.assertEqual(ACK, sim.ask(self.address(0x1FE00), 1))
        self.assertEqual(checksum(flash), sim.ask(self.block(b"D", flash), 1))
        self.assertEqual(ACK, sim.ask(b"P", 1))

        chunk = pattern(32, 9)
        self.assertEqual(ACK, sim.ask(self.address(0x40), 1))
        self.assertEqual(checksum(chunk), sim.ask(self.block(b"D", chunk), 1))
        self.assertEqual(ACK, sim.ask(b"B", 1))

        row = pattern(512, 4)
        self.assertEqual(ACK, sim.ask(b"U", 1))
        self.assertEqual(ACK, sim.ask(self.address(0), 1))
        self.assertEqual(checksum(row), sim.ask(self.block(b"A", row), 1))
        self.assertEqual(ACK, sim.ask(b"R", 1))

        self.assertEqual(ACK, sim.ask(b"V", 1))
        sim.send(b"X")
        sim.wait_dump(0)
        image = sim.memory("flash.bin")
        self.assertEqual(0x22000, len(image))
        self.assertEqual(flash, image[0x1FE00:0x20000])
        self.assertEqual(b"\xff" * 0x1FE00, image[:0x1FE00])
        eeprom = sim.memory("eeprom.bin")
        self.assertEqual(chunk, eeprom[0x40:0x60])
        self.assertEqual(b"\xff" * 0x40, eeprom[:0x40])
        self.assertEqual(row, sim.memory("userrow.bin"))

    def test_chip_erase(self):
        sim = self.start("--preset", "x32a4")
        data = pattern(256)
        sim.ask(self.address(0), 1)
        sim.ask(self.block(b"D", data), 1)
        sim.ask(b"P", 1)
        self.assertEqual(ACK, sim.ask(b"E", 1))
        sim.send(b"X")
        sim.wait_dump(0)
        self.assertEqual(b"\xff" * 0x9000, sim.memory("flash.bin"))

    def test_memory_survives_a_new_session(self):
        sim = self.start("--preset", "x32a4")
        data = pattern(256)
        sim.ask(self.address(0x100), 1)
        sim.ask(self.block(b"D", data), 1)
        sim.ask(b"P", 1)
        sim.send(b"X")
        sim.wait_dump(0)
        # The loader answers again after X, and a second X writes the same memory.
        self.assertEqual(b"I", sim.ask(b"I", 9)[:1])
        sim.send(b"X")
        sim.wait_dump(1)
        self.assertEqual(data, sim.memory("flash.bin")[0x100:0x200])

    def test_memory_is_written_when_the_simulator_ends(self):
        sim = self.start("--preset", "x32a4")
        chunk = pattern(16)
        sim.ask(self.address(0), 1)
        sim.ask(self.block(b"D", chunk), 1)
        sim.ask(b"B", 1)
        self.assertEqual(0, sim.close())
        self.assertEqual(chunk, sim.memory("eeprom.bin")[:16])


class FaultTest(SimTestCase):
    def test_reply_faults(self):
        page = pattern(128)
        identity = b"I\x1e\x95\x0f\x40\x00\x3c"
        inverted = lambda data: bytes(b ^ 0xFF for b in data)
        cases = [
            # (fault, command, expected reply)
            ("I:wrong", b"I", inverted(identity)),
            ("I:short", b"I", b"I"),
            ("I:short=4", b"I", b"I\x1e\x95\x0f"),
            ("i:short", b"i", b"\x00"),
            ("I:silent", b"I", b""),
            ("i:wrong", b"i", b"\xff\xff"),
            ("A:silent", b"A\x00\x00", b""),
            ("A:wrong", b"A\x00\x00", b"\xf2"),
            ("D:wrong", b"D" + page, inverted(checksum(page))),
            ("D:silent", b"D" + page, b""),
            ("P:wrong", b"P", b"\xf2"),
            ("E:silent", b"E", b""),
            ("B:wrong", b"B\x00\x00\x01", b"\xf2"),
        ]
        for fault, command, expected in cases:
            with self.subTest(fault=fault):
                sim = self.start("--preset", "m328p", "--fault", fault)
                sim.send(command)
                if expected:
                    self.assertEqual(expected, sim.recv(len(expected)))
                self.assertTrue(sim.silent(0.1))
                # Only that command was touched: the next one is answered.
                self.assertEqual(identity, sim.ask(b"I", 7))

    def test_nth_occurrence(self):
        sim = self.start("--preset", "m328p", "--fault", "P#2:wrong")
        self.assertEqual(ACK, sim.ask(b"P", 1))
        self.assertEqual(b"\xf2", sim.ask(b"P", 1))
        self.assertEqual(ACK, sim.ask(b"P", 1))

    def test_every_occurrence(self):
        sim = self.start("--preset", "m328p", "--fault", "E#*:silent")
        for _ in range(3):
            sim.send(b"E")
            self.assertTrue(sim.silent(0.1))
        self.assertEqual(ACK, sim.ask(b"P", 1))

    def test_nth_command_of_any_kind_mutes_the_device(self):
        sim = self.start("--preset", "m328p", "--fault", "#3:mute")
        self.assertEqual(7, len(sim.ask(b"I", 7)))
        self.assertEqual(2, len(sim.ask(b"i", 2)))
        sim.send(b"I")
        self.assertTrue(sim.silent())
        sim.send(b"i")
        self.assertTrue(sim.silent())

    def test_mute_device(self):
        sim = self.start("--mute")
        sim.send(b"I")
        self.assertTrue(sim.silent())

    def test_delayed_reply(self):
        sim = self.start("--preset", "m328p", "--fault", "P:delay=300")
        start = time.monotonic()
        self.assertEqual(ACK, sim.ask(b"P", 1))
        self.assertGreaterEqual(time.monotonic() - start, 0.29)

    def test_a_faulted_command_is_still_carried_out(self):
        sim = self.start("--preset", "m328p", "--fault", "P:silent")
        data = pattern(128)
        sim.ask(b"A\x00\x00", 1)
        sim.ask(b"D" + data, 1)
        sim.send(b"P")
        self.assertTrue(sim.silent(0.2))
        sim.send(b"X")
        sim.wait_dump(0)
        self.assertEqual(data, sim.memory("flash.bin")[:128])

    def test_faults_are_logged(self):
        sim = self.start("--preset", "m328p", "--fault", "i:wrong")
        sim.ask(b"i", 2)
        entry = [e for e in sim.log(until=lambda e: e.get("cmd") == "i") if e.get("cmd") == "i"][0]
        self.assertEqual("i:wrong", entry["fault"])
        self.assertEqual("ffff", entry["reply"])

    def test_bad_fault_options_are_refused(self):
        for option in ("P", "P:nonsense", "PP:silent", "P#0:wrong", ":silent", "I:short=0", "I:short=x"):
            with self.subTest(option=option):
                result = subprocess.run([sys.executable, SIM, "--fault", option], capture_output=True)
                self.assertEqual(2, result.returncode)


class OptionsFileTest(SimTestCase):
    def test_the_next_open_brings_a_new_device(self):
        sim = self.start("--preset", "m328p", "--loader-id", "0x0102")
        sim.ask(b"A\x00\x00", 1)
        sim.ask(b"D" + pattern(128), 1)
        sim.ask(b"P", 1)
        sim.reopen("--preset x32a4 --loader-id 7 --fault 'I#1:short=4'")
        # Counted afresh: the first I of the new device is cut short.
        self.assertEqual(b"I\x1e\x95\x41", sim.ask(b"I", 9))
        self.assertTrue(sim.silent(0.1))
        self.assertEqual(b"\x07\x00", sim.ask(b"i", 2))
        self.assertFalse(os.path.exists(sim.options_path))
        sessions = [e for e in sim.log() if e["event"] == "session"]
        self.assertEqual(["--preset x32a4 --loader-id 7 --fault 'I#1:short=4'"], [e["options"] for e in sessions])
        # A new, erased memory of the new device's size.
        before = sim.dumps()
        sim.send(b"X")
        sim.wait_dump(before)
        self.assertEqual(b"\xff" * 0x9000, sim.memory("flash.bin"))

    def test_without_a_file_the_device_stays(self):
        sim = self.start("--preset", "m328p", "--fault", "I#2:silent")
        self.assertEqual(7, len(sim.ask(b"I", 7)))
        sim.reopen()
        sim.send(b"I")
        self.assertTrue(sim.silent(0.2))

    def test_a_file_is_taken_once(self):
        sim = self.start("--preset", "m328p")
        sim.reopen("--preset x32a4")
        sim.ask(b"A\x00\x00\x00", 1)
        sim.ask(b"D\x04\x00\x01\x02\x03\x04", 1)
        sim.ask(b"P", 1)
        sim.reopen()
        before = sim.dumps()
        sim.send(b"X")
        sim.wait_dump(before)
        self.assertEqual(b"\x01\x02\x03\x04", sim.memory("flash.bin")[:4])

    def test_options_that_cannot_be_read_keep_the_device(self):
        sim = self.start("--preset", "m328p", "--strict")
        sim.reopen("--preset nonsense")
        self.assertEqual(b"I\x1e\x95\x0f", sim.ask(b"I", 7)[:4])
        errors = [e for e in sim.log() if e["event"] == "options-error"]
        self.assertEqual(1, len(errors))
        self.assertIn("nonsense", errors[0]["error"])
        self.assertEqual(3, sim.close())

    def test_a_command_under_way_is_dropped(self):
        sim = self.start("--preset", "m328p")
        # D waits for 128 bytes that never come.
        sim.send(b"D\x01\x02")
        sim.reopen("--preset m328p --loader-id 3")
        self.assertEqual(b"\x03\x00", sim.ask(b"i", 2))


class PacingTest(SimTestCase):
    def test_replies_take_their_line_time(self):
        sim = self.start("--preset", "m328p", "--baud", "2400")
        start = time.monotonic()
        self.assertEqual(7, len(sim.ask(b"I", 7)))
        # One byte in, seven out, 10 bits each at 2400 baud: 33 ms.
        self.assertGreaterEqual(time.monotonic() - start, 0.030)

    def test_data_arrives_at_line_speed(self):
        sim = self.start("--preset", "m328p", "--baud", "9600")
        data = pattern(128)
        start = time.monotonic()
        self.assertEqual(checksum(data), sim.ask(b"D" + data, 1))
        # 130 bytes at 960 bytes per second: 135 ms.
        self.assertGreaterEqual(time.monotonic() - start, 0.13)

    def test_page_write_time(self):
        sim = self.start("--preset", "m328p", "--page-write-ms", "120")
        start = time.monotonic()
        self.assertEqual(ACK, sim.ask(b"P", 1))
        self.assertGreaterEqual(time.monotonic() - start, 0.115)

    def test_host_rate(self):
        sim = self.start("--preset", "m328p", "--baud", "host")
        attributes = termios.tcgetattr(sim.fd)
        attributes[4] = attributes[5] = termios.B1200
        termios.tcsetattr(sim.fd, termios.TCSANOW, attributes)
        start = time.monotonic()
        self.assertEqual(7, len(sim.ask(b"I", 7)))
        self.assertGreaterEqual(time.monotonic() - start, 0.060)

    def test_a_wrong_host_rate_is_garbage(self):
        sim = self.start("--preset", "m328p", "--require-baud", "38400")
        attributes = termios.tcgetattr(sim.fd)
        attributes[4] = attributes[5] = termios.B9600
        termios.tcsetattr(sim.fd, termios.TCSANOW, attributes)
        sim.send(b"I")
        self.assertTrue(sim.silent())
        attributes[4] = attributes[5] = termios.B38400
        termios.tcsetattr(sim.fd, termios.TCSANOW, attributes)
        self.assertEqual(7, len(sim.ask(b"I", 7)))


class EchoTest(SimTestCase):
    def test_returns_every_byte(self):
        sim = self.start("--mode", "echo")
        data = bytes(range(256))
        self.assertEqual(data, sim.ask(data, 256))

    def test_never_blocks_the_host(self):
        sim = self.start("--mode", "echo")
        # Far more than the pty holds, written before anything is read.
        data = pattern(200000)
        os.set_blocking(sim.fd, False)
        sent = 0
        received = b""
        deadline = time.monotonic() + 10
        while sent < len(data) and time.monotonic() < deadline:
            try:
                sent += os.write(sim.fd, data[sent:sent + 4096])
            except BlockingIOError:
                received += sim.recv(65536, 0.01)
        self.assertEqual(len(data), sent)
        os.set_blocking(sim.fd, True)
        received += sim.recv(len(data) - len(received), 10)
        self.assertEqual(data, received)


class LifecycleTest(SimTestCase):
    def test_link_follows_the_pty_and_goes_at_the_end(self):
        with tempfile.TemporaryDirectory() as folder:
            link = os.path.join(folder, "com9")
            sim = self.start("--link", link)
            self.assertEqual(sim.pty, os.readlink(link))
            self.assertEqual(0, sim.close())
            self.assertFalse(os.path.lexists(link))

    def test_the_host_opening_and_closing_the_port_is_logged(self):
        sim = self.start("--preset", "m328p")
        host_states = lambda: [e["state"] for e in sim.log() if e["event"] == "host"]
        sim.log(until=lambda e: e["event"] == "host")
        self.assertEqual(["open"], host_states())
        # A command sent just before the port closes is still carried out.
        before = sim.dumps()
        sim.send(b"X")
        os.close(sim.fd)
        sim.fd = None
        sim.wait_dump(before)
        sim.log(until=lambda e: e.get("state") == "closed")
        self.assertEqual(["open", "closed"], host_states())
        # Opened again, the device answers as before.
        sim.fd = os.open(sim.pty, os.O_RDWR | os.O_NOCTTY)
        self.assertEqual(b"I\x1e\x95\x0f", sim.ask(b"I", 4))
        self.assertEqual(["open", "closed", "open"], host_states())

    def test_a_missing_out_dir_is_made(self):
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "a", "b")
            sim = self.start("--out-dir", out, "--log", os.path.join(out, "log"))
            self.assertEqual(0, sim.close())
            self.assertEqual(0x8000, os.path.getsize(os.path.join(out, "flash.bin")))
            self.assertTrue(os.path.exists(os.path.join(out, "log")))

    def test_help_documents_the_protocol(self):
        text = subprocess.run([sys.executable, SIM, "--help"], capture_output=True, text=True).stdout
        for word in ("identify", "faults", "pacing", "dump-seq", "flash.bin"):
            self.assertIn(word, text)


if __name__ == "__main__":
    unittest.main()
