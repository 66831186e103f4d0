#!/usr/bin/env python3
"""Time servers on one loopback address that misbehave at random, for bench/soak.sh.

Serves Time (TCP 37), DayTime (TCP 13), UnixTime (TCP 519) and SNTP (UDP 123) on ADDRESS. Each
request draws one behaviour from the seeded generator: a right answer, no answer, a late answer,
garbage, an early close or (SNTP) a duplicated datagram. Every request is logged as one line
"<unix time> <protocol> <behaviour>" to standard output. Runs until killed.
Usage: soak_peers.py ADDRESS SEED
"""
import random
import socket
import struct
import sys
import threading
import time

NTP_EPOCH = 2208988800  # seconds from 1900 to 1970
BEHAVIOURS = ["good", "good", "none", "late", "garbage", "early-close", "duplicate"]
LATE_SECONDS = (1.0, 25.0)  # some inside the program's time-out, some beyond it

lock = threading.Lock()


def log(protocol, behaviour):
    with lock:
        print(f"{time.time():.3f} {protocol} {behaviour}", flush=True)


def draw(rng):
    with lock:
        return rng.choice(BEHAVIOURS), rng.uniform(*LATE_SECONDS), rng.randbytes(rng.randint(0, 96))


def tcp_reply(protocol):
    now = time.time()
    if protocol == "time":
        return struct.pack(">I", (int(now) + NTP_EPOCH) & 0xFFFFFFFF)
    if protocol == "unixtime":
        return struct.pack(">I", int(now) & 0xFFFFFFFF)
    t = time.gmtime(now)
    mjd = int(now // 86400) + 40587
    return time.strftime(f"\n{mjd} %y-%m-%d %H:%M:%S 00 0 0  50.0 UTC(NIST) *\n", t).encode()


def listening(address, port):
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind((address, port))
    server.listen(16)
    return server


def serve_tcp(server, protocol, rng):
    def answer(conn):
        behaviour, late, junk = draw(rng)
        log(protocol, behaviour)
        try:
            if behaviour in ("good", "duplicate"):
                conn.sendall(tcp_reply(protocol) * (2 if behaviour == "duplicate" else 1))
            elif behaviour == "late":
                time.sleep(late)
                conn.sendall(tcp_reply(protocol))
            elif behaviour == "garbage":
                conn.sendall(junk)
            elif behaviour == "early-close":
                conn.sendall(tcp_reply(protocol)[:2])
            elif behaviour == "none":
                conn.settimeout(60)
                while conn.recv(256):
                    pass  # held open until the client gives up
        except OSError:
            pass
        finally:
            conn.close()

    while True:
        conn, _ = server.accept()
        threading.Thread(target=answer, args=(conn,), daemon=True).start()


def ntp_stamp(t):
    seconds = int(t)
    return struct.pack(">II", (seconds + NTP_EPOCH) & 0xFFFFFFFF, int((t - seconds) * 2**32))


def serve_sntp(server, rng):
    def answer(request, peer):
        behaviour, late, junk = draw(rng)
        log("sntp", behaviour)
        received = time.time()
        if behaviour == "late":
            time.sleep(late)
        reply = bytes([0x1C, 2, 6, 0xEC]) + bytes(8) + b"SOAK" + ntp_stamp(received)
        reply += request[40:48] + ntp_stamp(received) + ntp_stamp(time.time())
        if behaviour == "garbage":
            reply = junk
        elif behaviour == "early-close":
            reply = reply[:20]
        if behaviour != "none":
            for _ in range(2 if behaviour == "duplicate" else 1):
                server.sendto(reply, peer)

    while True:
        request, peer = server.recvfrom(512)
        if len(request) >= 48:
            threading.Thread(target=answer, args=(request, peer), daemon=True).start()


def main():
    address, seed = sys.argv[1], int(sys.argv[2])
    rng = random.Random(seed)
    udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    udp.bind((address, 123))
    for port, protocol in ((37, "time"), (13, "daytime"), (519, "unixtime")):
        server = listening(address, port)  # every port bound before "ready"
        threading.Thread(target=serve_tcp, args=(server, protocol, rng), daemon=True).start()
    threading.Thread(target=serve_sntp, args=(udp, rng), daemon=True).start()
    print(f"{time.time():.3f} ready", flush=True)
    threading.Event().wait()


if __name__ == "__main__":
    main()
