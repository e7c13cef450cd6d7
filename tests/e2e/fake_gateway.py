#!/usr/bin/env python3
"""A device on the router lab's home network, until killed. fake_gateway.py MODE LAN_ADDRESS
HTTP_PORT; MODE: endless (description) or trickle (a byte every 3 s), flood (of search replies
from thousands of addresses), cgnat (a gateway by UPnP outside at 100.64.1.2), natpmp (only
NAT-PMP, outside at 192.168.1.50)."""
import re
import socket
import struct
import sys
import threading
import time

mode, lan, http_port = sys.argv[1], sys.argv[2], int(sys.argv[3])
OUTSIDE = {"cgnat": "100.64.1.2", "natpmp": "192.168.1.50"}.get(mode)
SERVICE = "urn:schemas-upnp-org:service:WANIPConnection:1"
DESCRIPTION = f"""<?xml version="1.0"?>
<root xmlns="urn:schemas-upnp-org:device-1-0"><device>
<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>
<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType>
<serviceList><service><serviceType>urn:schemas-upnp-org:service:WANCommonInterfaceConfig:1</serviceType>
<controlURL>/common</controlURL><eventSubURL>/e</eventSubURL><SCPDURL>/s.xml</SCPDURL></service></serviceList>
<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>
<serviceList><service><serviceType>{SERVICE}</serviceType>
<controlURL>/ctl</controlURL><eventSubURL>/e</eventSubURL><SCPDURL>/s.xml</SCPDURL></service></serviceList>
</device></deviceList></device></deviceList></device></root>""".encode()
ANSWERS = {"GetStatusInfo": "<NewConnectionStatus>Connected</NewConnectionStatus>"
                            "<NewLastConnectionError>ERROR_NONE</NewLastConnectionError><NewUptime>9</NewUptime>",
           "GetExternalIPAddress": f"<NewExternalIPAddress>{OUTSIDE}</NewExternalIPAddress>"}


def reply(location, from_address=None):
    return (f"HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=120\r\nST: urn:schemas-upnp-org:device:"
            f"InternetGatewayDevice:1\r\nUSN: uuid:{from_address or lan}::upnp\r\nEXT:\r\n"
            f"LOCATION: {location}\r\n\r\n").encode()


def flood(to):
    # Each reply from an address of its own (sent without owning it), for 20 s at most.
    end = time.time() + 20
    n = 0
    while time.time() < end and n < 60000:
        source = f"10.78.{n // 250 % 250}.{n % 250 + 1}"
        s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        s.setsockopt(socket.SOL_IP, 19, 1)  # IP_TRANSPARENT: any source address
        try:
            s.bind((source, 0))
            s.sendto(reply(f"http://{source}:{http_port}/d.xml", source), to)
        except OSError:
            pass
        s.close()
        n += 1
        if n % 50 == 0:
            time.sleep(0.01)


flooded = set()


def ssdp():
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("", 1900))
    s.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
                 socket.inet_aton("239.255.255.250") + socket.inet_aton(lan))
    listening.release()
    while True:
        data, sender = s.recvfrom(2048)
        print(f"{time.time():.3f} ssdp from {sender} {data[:20]}", flush=True)
        if not data.startswith(b"M-SEARCH"):
            continue
        if mode == "flood":
            if sender not in flooded:  # one flood for each searcher, not one for each search
                flooded.add(sender)
                threading.Thread(target=flood, args=(sender,), daemon=True).start()
        else:
            s.sendto(reply(f"http://{lan}:{http_port}/desc.xml"), sender)


def read_request(conn):
    # The whole request, body too: a socket closed with a body still unread resets the
    # connection, and the game would lose the answer to it.
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk:
            return data
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    length = re.search(rb"content-length:\s*(\d+)", head, re.I)
    while length and len(body) < int(length.group(1)):
        chunk = conn.recv(65536)
        if not chunk:
            break
        body += chunk
    return head + b"\r\n\r\n" + body


def serve(conn):
    with conn:
        request = read_request(conn)
        print(f"{time.time():.3f} http {request[:60]}", flush=True)
        if mode == "endless":
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n\r\n<?xml version=\"1.0\"?><root>")
            while True:
                conn.sendall(b"<a>" + b"x" * 65530 + b"</a>")
        if mode == "trickle":
            for byte in b"HTTP/1.1 200 OK\r\n\r\n" + DESCRIPTION:
                conn.sendall(bytes([byte]))
                time.sleep(3)
        if request.startswith(b"GET"):
            body = DESCRIPTION
        else:
            action = next((a for a in ANSWERS if a.encode() in request.split(b"\r\n\r\n")[0]), "")
            body = (f'<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/">'
                    f'<s:Body><u:{action}Response xmlns:u="{SERVICE}">{ANSWERS.get(action, "")}'
                    f"</u:{action}Response></s:Body></s:Envelope>").encode()
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: %d\r\n"
                     b"Connection: close\r\n\r\n" % len(body) + body)
        print(f"{time.time():.3f} http answered", flush=True)


def http():
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind((lan, http_port))
    s.listen(16)
    listening.release()
    while True:
        conn, _ = s.accept()
        threading.Thread(target=serve, args=(conn,), daemon=True).start()


def natpmp():
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind((lan, 5351))
    listening.release()
    while True:
        data, sender = s.recvfrom(64)
        if len(data) < 2:
            continue
        print(f"{time.time():.3f} nat-pmp from {sender} {data[:2]}", flush=True)
        since = int(time.monotonic())
        if data[1] == 0:
            s.sendto(struct.pack("!BBHI4s", 0, 128, 0, since, socket.inet_aton(OUTSIDE)), sender)
        elif data[1] in (1, 2) and len(data) >= 12:
            inside, outside, lease = struct.unpack("!HHI", data[4:12])
            s.sendto(struct.pack("!BBHIHHI", 0, 128 + data[1], 0, since, inside, outside or inside, lease), sender)


# Ready only once every socket listens: a host started at once must find the device.
listening = threading.Semaphore(0)
works = [ssdp, http] if mode != "natpmp" else [natpmp]
for work in works:
    threading.Thread(target=work, daemon=True).start()
for _ in works:
    listening.acquire()
print("ready", flush=True)
while True:
    time.sleep(3600)
