package visualizador;

import java.io.IOException;
import java.net.InetSocketAddress;
import java.net.Socket;
import java.net.StandardProtocolFamily;
import java.net.UnixDomainSocketAddress;
import java.nio.channels.SocketChannel;
import visualizador.dados.Ambiente;

/**
 * Whether the X display can be reached, found out before AWT is loaded: AWT throws on an
 * unreachable DISPLAY, and PDF, XLS and HTML need no display at all. Without one the viewer runs
 * headless (no dialogs, no progress window).
 */
final class Tela {
    private static final int ESPERA_MS = 1000;

    private Tela() {}

    static void decidir(Ambiente amb) {
        if (System.getProperty("java.awt.headless") != null) return;
        if (!alcancavel(amb.variavel("DISPLAY"))) System.setProperty("java.awt.headless", "true");
    }

    /** "[host]:N[.S]": the local socket /tmp/.X11-unix/XN, or TCP port 6000+N on host. */
    static boolean alcancavel(String display) {
        if (display == null) return false;
        final int doisPontos = display.lastIndexOf(':');
        if (doisPontos < 0) return false;
        final String host = display.substring(0, doisPontos);
        String numero = display.substring(doisPontos + 1);
        if (numero.indexOf('.') >= 0) numero = numero.substring(0, numero.indexOf('.'));
        final int n;
        try {
            n = Integer.parseInt(numero);
        } catch (NumberFormatException e) {
            return false;
        }
        if (n < 0 || n > 59535) return false;
        try {
            if (host.isEmpty() || host.equals("unix")) {
                try (SocketChannel c = SocketChannel.open(StandardProtocolFamily.UNIX)) {
                    c.connect(UnixDomainSocketAddress.of("/tmp/.X11-unix/X" + n));
                }
            } else {
                try (Socket s = new Socket()) {
                    s.connect(new InetSocketAddress(host, 6000 + n), ESPERA_MS);
                }
            }
            return true;
        } catch (IOException | RuntimeException e) {
            return false;
        }
    }
}
