package visualizador;

import java.io.ByteArrayInputStream;
import java.io.DataInputStream;
import java.io.EOFException;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import visualizador.dados.Ambiente;

/**
 * The MIT-MAGIC-COOKIE-1 cookies the user's X authority file ($XAUTHORITY, else ~/.Xauthority)
 * holds for a display number: what Xlib would offer the server when AWT connects.
 */
final class AutorizacaoX {
    static final String MAGIC_COOKIE = "MIT-MAGIC-COOKIE-1";
    private static final long MAIOR_ARQUIVO = 1 << 20;

    private AutorizacaoX() {}

    /** The cookies for display {@code numero}, in the file's order; none when there is no readable file. */
    static List<byte[]> cookies(Ambiente amb, int numero) {
        final String caminho = amb.variavel("XAUTHORITY");
        try {
            final Path arquivo = caminho != null ? Path.of(caminho) : amb.home().resolve(".Xauthority");
            if (!Files.isRegularFile(arquivo) || Files.size(arquivo) > MAIOR_ARQUIVO) return List.of();
            return cookies(Files.readAllBytes(arquivo), numero);
        } catch (IOException | RuntimeException e) {
            return List.of();
        }
    }

    /** Entries: family, address, display number, name, data; each but the family a counted string. */
    static List<byte[]> cookies(byte[] arquivo, int numero) throws IOException {
        final List<byte[]> achados = new ArrayList<>();
        final String alvo = Integer.toString(numero);
        try (DataInputStream in = new DataInputStream(new ByteArrayInputStream(arquivo))) {
            while (true) {
                try {
                    in.readUnsignedShort();
                } catch (EOFException fim) {
                    return achados;
                }
                campo(in);
                final String display = new String(campo(in), StandardCharsets.US_ASCII);
                final String nome = new String(campo(in), StandardCharsets.US_ASCII);
                final byte[] dados = campo(in);
                if (nome.equals(MAGIC_COOKIE) && (display.isEmpty() || display.equals(alvo))) achados.add(dados);
            }
        }
    }

    private static byte[] campo(DataInputStream in) throws IOException {
        final byte[] b = new byte[in.readUnsignedShort()];
        in.readFully(b);
        return b;
    }
}
