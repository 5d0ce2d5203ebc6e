package visualizador;

import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;

/**
 * Loads, without running any of their code, the classes a preview needs before its first page
 * (the list in classes-previa.lst, made by scripts/lista_classes.sh). Run once as
 * {@code java -XX:ArchiveClassesAtExit=FILE -cp jasperviewer.jar visualizador.ClassesDaPrevia}
 * with the runtime that will start the viewer, it writes that runtime's class-data archive for
 * the viewer: parsed and verified classes the viewer then maps instead of loading them. Needs no
 * display and no database. Prints how many classes it loaded and how many it could not find.
 */
public final class ClassesDaPrevia {
    static final String LISTA = "classes-previa.lst";

    private ClassesDaPrevia() {}

    public static void main(String[] args) throws IOException {
        final int[] contagem = carregar();
        System.out.println(contagem[0] + " classes carregadas, " + contagem[1] + " ausentes");
    }

    /** {loaded, not found}. */
    static int[] carregar() throws IOException {
        final ClassLoader carregador = ClassesDaPrevia.class.getClassLoader();
        int carregadas = 0;
        int ausentes = 0;
        try (InputStream in = ClassesDaPrevia.class.getResourceAsStream(LISTA)) {
            if (in == null) throw new IOException(LISTA + " não está no jasperviewer.jar");
            final BufferedReader r = new BufferedReader(new InputStreamReader(in, StandardCharsets.UTF_8));
            for (String linha; (linha = r.readLine()) != null; ) {
                linha = linha.strip();
                if (linha.isEmpty() || linha.startsWith("#")) continue;
                try {
                    // Not initialized: a class of the window toolkit would otherwise look for a display.
                    Class.forName(linha.replace('/', '.'), false, carregador);
                    carregadas++;
                } catch (ClassNotFoundException | LinkageError e) {
                    // A list made with another runtime or an older viewer: that class is just left out.
                    ausentes++;
                }
            }
        }
        return new int[] {carregadas, ausentes};
    }
}
