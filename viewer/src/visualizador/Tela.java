package visualizador;

import java.io.IOException;
import java.net.InetSocketAddress;
import java.net.SocketAddress;
import java.net.StandardProtocolFamily;
import java.net.UnixDomainSocketAddress;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.channels.SelectionKey;
import java.nio.channels.Selector;
import java.nio.channels.SocketChannel;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import visualizador.dados.Ambiente;

/**
 * Whether the X display can be used, found out before AWT is loaded: AWT throws on a DISPLAY it
 * cannot reach or that refuses it, and PDF, XLS and HTML need no display at all. Without one the
 * viewer runs headless (no dialogs, no progress window).
 */
final class Tela {
    private static final int ESPERA_MS = 1000;

    private Tela() {}

    static void decidir(Ambiente amb) {
        if (System.getProperty("java.awt.headless") != null) return;
        final String display = amb.variavel("DISPLAY");
        if (!alcancavel(display)) {
            System.setProperty("java.awt.headless", "true");
            return;
        }
        final String recusa = recusa(display, amb);
        if (recusa != null) {
            System.err.println("A tela " + display + " recusou a conexão (" + recusa + "); o relatório segue sem tela.");
            System.setProperty("java.awt.headless", "true");
        }
    }

    /** "[host]:N[.S]": the local socket /tmp/.X11-unix/XN, or TCP port 6000+N on host. */
    static boolean alcancavel(String display) {
        final SocketAddress a = endereco(display);
        if (a == null) return false;
        try {
            conectar(a).close();
            return true;
        } catch (IOException | RuntimeException e) {
            return false;
        }
    }

    /**
     * The X server's reason when it refuses every authorization Xlib would offer (the user's
     * cookies for the display, then none); null when it accepts one, or answers in a way not
     * understood here (AWT then tries as it always did).
     */
    static String recusa(String display, Ambiente amb) {
        final SocketAddress a = endereco(display);
        if (a == null) return null;
        final List<byte[]> ofertas = new ArrayList<>(AutorizacaoX.cookies(amb, numero(display)));
        ofertas.add(null); // host-based access needs no cookie
        String primeira = null;
        try {
            for (byte[] cookie : ofertas) {
                final String r = apresentar(a, cookie);
                if (r == null) return null;
                if (primeira == null) primeira = r;
            }
            return primeira;
        } catch (IOException | RuntimeException e) {
            return null;
        }
    }

    private static int numero(String display) {
        String numero = display.substring(display.lastIndexOf(':') + 1);
        if (numero.indexOf('.') >= 0) numero = numero.substring(0, numero.indexOf('.'));
        return Integer.parseInt(numero);
    }

    private static SocketAddress endereco(String display) {
        if (display == null) return null;
        final int doisPontos = display.lastIndexOf(':');
        if (doisPontos < 0) return null;
        final String host = display.substring(0, doisPontos);
        final int n;
        try {
            n = numero(display);
        } catch (NumberFormatException e) {
            return null;
        }
        if (n < 0 || n > 59535) return null;
        if (host.isEmpty() || host.equals("unix")) return UnixDomainSocketAddress.of("/tmp/.X11-unix/X" + n);
        return new InetSocketAddress(host, 6000 + n);
    }

    private static SocketChannel conectar(SocketAddress a) throws IOException {
        final SocketChannel c = a instanceof UnixDomainSocketAddress ? SocketChannel.open(StandardProtocolFamily.UNIX)
                : SocketChannel.open();
        try {
            c.configureBlocking(false);
            if (!c.connect(a)) {
                try (Selector s = Selector.open()) {
                    c.register(s, SelectionKey.OP_CONNECT);
                    if (s.select(ESPERA_MS) == 0) throw new IOException("sem resposta");
                }
                c.finishConnect();
            }
            return c;
        } catch (IOException | RuntimeException e) {
            c.close();
            throw e;
        }
    }

    /** The connection set-up of the X protocol: null when the server accepts, else its reason. */
    private static String apresentar(SocketAddress a, byte[] cookie) throws IOException {
        final byte[] nome = cookie == null ? new byte[0] : AutorizacaoX.MAGIC_COOKIE.getBytes(StandardCharsets.US_ASCII);
        final byte[] dados = cookie == null ? new byte[0] : cookie;
        final ByteBuffer pedido = ByteBuffer.allocate(12 + quatro(nome.length) + quatro(dados.length))
                .order(ByteOrder.LITTLE_ENDIAN);
        pedido.put((byte) 'l').put((byte) 0).putShort((short) 11).putShort((short) 0)
                .putShort((short) nome.length).putShort((short) dados.length).putShort((short) 0);
        pedido.put(nome).position(12 + quatro(nome.length));
        pedido.put(dados).clear();
        final long prazo = System.nanoTime() + ESPERA_MS * 1_000_000L;
        try (SocketChannel c = conectar(a); Selector s = Selector.open()) {
            c.register(s, SelectionKey.OP_READ);
            while (pedido.hasRemaining()) {
                c.write(pedido);
                if (System.nanoTime() > prazo) throw new IOException("sem resposta");
            }
            final ByteBuffer cabeca = ByteBuffer.allocate(8).order(ByteOrder.LITTLE_ENDIAN);
            ler(c, s, cabeca, prazo);
            final int estado = cabeca.get(0);
            if (estado == 1) return null;
            if (estado != 0 && estado != 2) throw new IOException("resposta desconhecida");
            final ByteBuffer motivo = ByteBuffer.allocate((cabeca.getShort(6) & 0xffff) * 4);
            ler(c, s, motivo, prazo);
            final int tamanho = estado == 0 ? Math.min(cabeca.get(1) & 0xff, motivo.capacity()) : motivo.capacity();
            final String texto = new String(motivo.array(), 0, tamanho, StandardCharsets.ISO_8859_1).trim();
            return texto.isEmpty() ? "sem motivo dado" : texto;
        }
    }

    private static int quatro(int n) {
        return (n + 3) & ~3;
    }

    private static void ler(SocketChannel c, Selector s, ByteBuffer b, long prazo) throws IOException {
        while (b.hasRemaining()) {
            final long resta = (prazo - System.nanoTime()) / 1_000_000;
            if (resta <= 0) throw new IOException("sem resposta");
            if (s.select(resta) == 0) continue;
            s.selectedKeys().clear();
            if (c.read(b) < 0) throw new IOException("conexão fechada");
        }
    }
}
