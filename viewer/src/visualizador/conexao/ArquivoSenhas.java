package visualizador.conexao;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermission;
import java.util.Collections;
import java.util.EnumSet;
import java.util.List;
import java.util.Set;
import java.util.function.Consumer;

/**
 * The password file as libpq reads it: lines host:port:database:user:password, "*" alone as a
 * field matching anything, "\" escaping ":" and "\", the first matching line winning.
 */
public final class ArquivoSenhas {
    private static final Set<PosixFilePermission> GRUPO_OUTROS = EnumSet.of(PosixFilePermission.GROUP_READ,
            PosixFilePermission.GROUP_WRITE, PosixFilePermission.GROUP_EXECUTE, PosixFilePermission.OTHERS_READ,
            PosixFilePermission.OTHERS_WRITE, PosixFilePermission.OTHERS_EXECUTE);

    private final Path caminho;
    private final List<String> linhas;

    private ArquivoSenhas(Path caminho, List<String> linhas) {
        this.caminho = caminho;
        this.linhas = linhas;
    }

    /**
     * The file passfile names, else the desktop's usual one. A file missing or unreadable reads
     * as empty: the server may need no password. Where files have modes, one that is not a plain
     * file or that group or others may read is ignored with libpq's own warning, as psql does.
     */
    static ArquivoSenhas ler(Locais locais, String passfile, Consumer<String> avisos) {
        final Path p = passfile != null && !passfile.isEmpty() ? Path.of(passfile) : locais.senhasPadrao();
        try {
            if (!Files.exists(p)) return new ArquivoSenhas(p, List.of());
            if (locais.exigeSenhasPrivadas()) {
                if (!Files.isRegularFile(p)) {
                    avisos.accept("WARNING: password file \"" + p + "\" is not a plain file");
                    return new ArquivoSenhas(p, List.of());
                }
                if (!Collections.disjoint(Files.getPosixFilePermissions(p), GRUPO_OUTROS)) {
                    avisos.accept("WARNING: password file \"" + p
                            + "\" has group or world access; permissions should be u=rw (0600) or less");
                    return new ArquivoSenhas(p, List.of());
                }
            }
            return new ArquivoSenhas(p, Files.readAllLines(p, StandardCharsets.UTF_8));
        } catch (IOException e) {
            return new ArquivoSenhas(p, List.of());
        }
    }

    Path caminho() {
        return caminho;
    }

    /** The password of the first line matching the connection; null when none does or it is empty. */
    String senha(String host, String porta, String banco, String usuario) {
        for (String linha : linhas) {
            if (linha.startsWith("#")) continue;
            final String senha = senhaDaLinha(linha, host, porta, banco, usuario);
            if (senha != null) return senha.isEmpty() ? null : senha;
        }
        return null;
    }

    /**
     * The line's password when its first four fields match the values, else null. The password
     * ends at the next unescaped ":". An escaped "\*" is a plain star, not the wildcard.
     */
    private static String senhaDaLinha(String linha, String... valores) {
        int i = 0;
        for (String valor : valores) {
            if (linha.startsWith("*:", i)) {
                i += 2;
                continue;
            }
            final StringBuilder campo = new StringBuilder();
            i = campo(linha, i, campo);
            if (i >= linha.length() || !campo.toString().equals(valor)) return null;
            i++;
        }
        final StringBuilder senha = new StringBuilder();
        campo(linha, i, senha);
        return senha.toString();
    }

    /** Reads one field from position i into destino, unescaping; returns where it ends (its ":" or the end). */
    private static int campo(String linha, int i, StringBuilder destino) {
        for (; i < linha.length() && linha.charAt(i) != ':'; i++) {
            if (linha.charAt(i) == '\\' && i + 1 < linha.length()) i++;
            destino.append(linha.charAt(i));
        }
        return i;
    }
}
