package visualizador.conexao;

import java.io.BufferedReader;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermission;
import java.util.ArrayList;
import java.util.Collections;
import java.util.EnumSet;
import java.util.List;
import java.util.Set;
import java.util.function.Consumer;
import visualizador.dados.Ambiente;

/** The password file libpq reads ($PGPASSFILE, else ~/.pgpass): host:port:database:user:password. */
public final class ArquivoSenhas {
    private static final Set<PosixFilePermission> GRUPO_OUTROS = EnumSet.of(PosixFilePermission.GROUP_READ,
            PosixFilePermission.GROUP_WRITE, PosixFilePermission.GROUP_EXECUTE, PosixFilePermission.OTHERS_READ,
            PosixFilePermission.OTHERS_WRITE, PosixFilePermission.OTHERS_EXECUTE);

    private ArquivoSenhas() {}

    /**
     * The password for the connection; null when none applies. A file that is not a plain file,
     * or that group or others may read, is ignored with libpq's own warning, as psql does.
     */
    public static String senha(Ambiente amb, String passfile, String host, String porta, String banco, String usuario,
            Consumer<String> avisos) {
        final String arquivo = passfile != null ? passfile : amb.variavel("PGPASSFILE");
        final Path p = arquivo != null ? Path.of(arquivo) : amb.home().resolve(".pgpass");
        try {
            if (!Files.exists(p)) return null;
            if (!Files.isRegularFile(p)) {
                avisos.accept("WARNING: password file \"" + p + "\" is not a plain file");
                return null;
            }
            final Set<PosixFilePermission> modo = Files.getPosixFilePermissions(p);
            if (!Collections.disjoint(modo, GRUPO_OUTROS)) {
                avisos.accept("WARNING: password file \"" + p
                        + "\" has group or world access; permissions should be u=rw (0600) or less");
                return null;
            }
        } catch (IOException e) {
            return null;
        }
        try (BufferedReader r = Files.newBufferedReader(p, StandardCharsets.UTF_8)) {
            String linha;
            while ((linha = r.readLine()) != null) {
                if (linha.isBlank() || linha.startsWith("#")) continue;
                final List<String> c = campos(linha);
                if (c.size() == 5 && bate(c.get(0), host) && bate(c.get(1), porta) && bate(c.get(2), banco)
                        && bate(c.get(3), usuario))
                    return c.get(4);
            }
        } catch (IOException e) {
            // No readable password file: the server may not need a password.
        }
        return null;
    }

    private static boolean bate(String padrao, String valor) {
        return padrao.equals("*") || padrao.equals(valor);
    }

    /** Fields split at ":", with "\:" and "\\" as escapes. */
    static List<String> campos(String linha) {
        final List<String> l = new ArrayList<>();
        final StringBuilder atual = new StringBuilder();
        for (int i = 0; i < linha.length(); i++) {
            final char c = linha.charAt(i);
            if (c == '\\' && i + 1 < linha.length()) atual.append(linha.charAt(++i));
            else if (c == ':' && l.size() < 4) {
                l.add(atual.toString());
                atual.setLength(0);
            } else atual.append(c);
        }
        l.add(atual.toString());
        return l;
    }
}
